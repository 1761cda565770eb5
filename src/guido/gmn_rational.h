// Exact positions and durations of the GUIDO reader: reduced fractions of whole notes in 32-bit fields.
#pragma once

#include <cstdint>

namespace notavera {

class GmnRational {
public:
    constexpr GmnRational() = default;
    // Reduced at once; a zero denominator is kept as it is (comparisons then give "equal").
    GmnRational(std::int64_t num, std::int64_t den);

    std::int32_t num() const { return num_; }
    std::int32_t den() const { return den_; }

    GmnRational operator+(const GmnRational& other) const;
    GmnRational operator-(const GmnRational& other) const;
    // Multiplies by n/d (the dot factors 3/2 and 7/4, scale changes).
    GmnRational scaled(std::int64_t n, std::int64_t d) const;

    // The sign of a·d − c·b: −1, 0 or 1; 0 when a denominator is 0.
    int compare(const GmnRational& other) const {
        if (den_ == 0 || other.den_ == 0) return 0;
        const std::int64_t diff = std::int64_t{num_} * other.den_ - std::int64_t{other.num_} * den_;
        return (diff > 0) - (diff < 0);
    }
    bool operator==(const GmnRational& other) const { return num_ == other.num_ && den_ == other.den_; }
    bool operator<(const GmnRational& other) const { return compare(other) < 0; }
    bool isZero() const { return num_ == 0; }
    bool isPositive() const { return num_ > 0 && den_ > 0; }
    // True when the denominator is a power of two: the value is a sum of plain binary note values.
    bool isDyadic() const;

private:
    std::int32_t num_ = 0;
    std::int32_t den_ = 1;
};

}  // namespace notavera
