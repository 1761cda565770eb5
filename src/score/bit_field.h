// Named bit fields inside the 32-bit record words: the one place that knows how a field is masked and shifted.
#pragma once

#include <cstdint>
#include <type_traits>

namespace notavera {

// A field of Width bits starting at bit Lo of a 32-bit word.
template <unsigned Lo, unsigned Width>
struct BitField {
    static_assert(Width >= 1 && Lo + Width <= 32, "field outside a 32-bit word");
    static constexpr std::uint32_t mask = (Width == 32 ? 0xFFFFFFFFu : ((1u << Width) - 1u)) << Lo;

    static constexpr std::uint32_t get(std::uint32_t word) { return (word & mask) >> Lo; }
    static constexpr void set(std::uint32_t& word, std::uint32_t value) {
        word = (word & ~mask) | ((value << Lo) & mask);
    }
};

// Base of the word views: wraps a reference to a stored word, read-only when Word is const.
template <typename Word>
class WordView {
    static_assert(std::is_same_v<std::remove_const_t<Word>, std::uint32_t>);

public:
    explicit constexpr WordView(Word& word) : word_(word) {}
    constexpr std::uint32_t raw() const { return word_; }

protected:
    static constexpr bool writable = !std::is_const_v<Word>;

    template <unsigned Lo, unsigned Width>
    constexpr std::uint32_t get() const { return BitField<Lo, Width>::get(word_); }
    template <unsigned Lo, unsigned Width>
    constexpr void put(std::uint32_t value) const
        requires writable
    {
        BitField<Lo, Width>::set(word_, value);
    }
    constexpr bool flag(unsigned bit) const { return (word_ >> bit) & 1u; }
    constexpr void putFlag(unsigned bit, bool on) const
        requires writable
    {
        word_ = on ? (word_ | (1u << bit)) : (word_ & ~(1u << bit));
    }

private:
    Word& word_;
};

}  // namespace notavera
