// Reduction and arithmetic of the reader's fractions. Intermediate results are computed in 64 bits; a result
// that no longer fits the 32-bit fields (only hostile files get there) is rounded to the nearest fraction that
// does, so that positions stay ordered instead of wrapping around.
#include "guido/gmn_rational.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace notavera {

namespace {

constexpr std::int64_t maxField = std::numeric_limits<std::int32_t>::max();

bool fits(std::int64_t num, std::int64_t den) { return std::llabs(num) <= maxField && den <= maxField; }

}  // namespace

GmnRational::GmnRational(std::int64_t num, std::int64_t den) {
    if (den == 0) {
        num_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(num, -maxField, maxField));
        den_ = 0;
        return;
    }
    if (den < 0) {
        num = -num;
        den = -den;
    }
    if (num == 0) {
        den = 1;
    } else {
        const std::int64_t g = std::gcd(num, den);
        num /= g;
        den /= g;
    }
    if (!fits(num, den)) {
        const long double value = static_cast<long double>(num) / static_cast<long double>(den);
        std::int64_t scale = std::int64_t{1} << 30;
        while (scale > 1 && std::fabs(value * static_cast<long double>(scale)) > static_cast<long double>(maxField))
            scale >>= 1;
        long double scaled = std::round(value * static_cast<long double>(scale));
        scaled =
            std::clamp<long double>(scaled, -static_cast<long double>(maxField), static_cast<long double>(maxField));
        *this = GmnRational(static_cast<std::int64_t>(scaled), scale);
        return;
    }
    num_ = static_cast<std::int32_t>(num);
    den_ = static_cast<std::int32_t>(den);
}

GmnRational GmnRational::operator+(const GmnRational& o) const {
    return GmnRational(std::int64_t{num_} * o.den_ + std::int64_t{o.num_} * den_, std::int64_t{den_} * o.den_);
}

GmnRational GmnRational::operator-(const GmnRational& o) const {
    return GmnRational(std::int64_t{num_} * o.den_ - std::int64_t{o.num_} * den_, std::int64_t{den_} * o.den_);
}

GmnRational GmnRational::scaled(std::int64_t n, std::int64_t d) const {
    // Reduce across first so that the products stay within 64 bits.
    const std::int64_t g1 = std::gcd(std::int64_t{num_}, d);
    const std::int64_t g2 = std::gcd(n, std::int64_t{den_});
    const std::int64_t a = g1 ? num_ / g1 : num_;
    const std::int64_t dd = g1 ? d / g1 : d;
    const std::int64_t nn = g2 ? n / g2 : n;
    const std::int64_t b = g2 ? den_ / g2 : den_;
    return GmnRational(a * nn, b * dd);
}

bool GmnRational::isDyadic() const { return den_ > 0 && (den_ & (den_ - 1)) == 0; }

}  // namespace notavera
