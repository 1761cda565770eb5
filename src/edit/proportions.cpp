// Changing the proportions of notes and rests.
#include "edit/proportions.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "edit/element_range.h"

namespace notavera {

namespace {

constexpr unsigned maxTerm = 99;

// A product of two proportions, reduced; when a term still exceeds what the dialog allows, both are scaled down
// together so the ratio stays as near as the terms let it.
std::pair<unsigned, unsigned> Product(unsigned num, unsigned den) {
    const unsigned g = std::gcd(num, den);
    num /= g;
    den /= g;
    if (num > maxTerm || den > maxTerm) {
        const unsigned larger = std::max(num, den);
        num = std::max(1u, (num * maxTerm + larger / 2) / larger);
        den = std::max(1u, (den * maxTerm + larger / 2) / larger);
    }
    return {num, den};
}

}  // namespace

int ChangeProportions(StaffRecord& staff, int first, int last, ProportionChange change, unsigned num, unsigned den) {
    int changed = 0;
    for (ElementRecord& e : ElementRange(staff, first, last)) {
        if (e.isSign()) continue;
        const auto w1 = e.w1();
        std::pair<unsigned, unsigned> next{1, 1};
        if (change == ProportionChange::Substitute) next = {num, den};
        if (change == ProportionChange::Combine)
            next = Product(std::max(1u, w1.numerator()) * num, std::max(1u, w1.denominator()) * den);
        if (next == std::pair{w1.numerator(), w1.denominator()}) continue;
        w1.setNumerator(next.first);
        w1.setDenominator(next.second);
        ++changed;
    }
    return changed;
}

}  // namespace notavera
