#include "solver/analysis/memory_estimate.h"

#include <algorithm>
#include <cstdio>

#include "solver/analysis/array_sizes.h"
#include "solver/core/method_table.h"

namespace kolt {
namespace {

using Size = std::int64_t;

// A non-negative integer of any size: base-10^9 digits, least significant
// first. Only what the estimates need: products with and sums of counts.
class ExactCount {
  public:
    explicit ExactCount(std::uint64_t value = 0) {
        do {
            digits_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    // Factors are counts of the model (at most 2^31 each), so that a digit
    // times a factor plus the carry stays far below 2^64.
    ExactCount operator*(std::uint32_t factor) const {
        ExactCount product(0);
        product.digits_.clear();
        std::uint64_t carry = 0;
        for (std::uint32_t digit : digits_) {
            const std::uint64_t value = static_cast<std::uint64_t>(digit) * factor + carry;
            product.digits_.push_back(static_cast<std::uint32_t>(value % kBase));
            carry = value / kBase;
        }
        while (carry != 0) {
            product.digits_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
        product.trim();
        return product;
    }

    ExactCount operator+(const ExactCount& other) const {
        ExactCount sum(0);
        sum.digits_.clear();
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < std::max(digits_.size(), other.digits_.size()); ++i) {
            const std::uint64_t value =
                carry + (i < digits_.size() ? digits_[i] : 0) + (i < other.digits_.size() ? other.digits_[i] : 0);
            sum.digits_.push_back(static_cast<std::uint32_t>(value % kBase));
            carry = value / kBase;
        }
        if (carry != 0) sum.digits_.push_back(static_cast<std::uint32_t>(carry));
        return sum;
    }

    bool operator<(const ExactCount& other) const {
        if (digits_.size() != other.digits_.size()) return digits_.size() < other.digits_.size();
        return std::lexicographical_compare(digits_.rbegin(), digits_.rend(), other.digits_.rbegin(),
                                            other.digits_.rend());
    }

    std::string decimal() const {
        std::string text = std::to_string(digits_.back());
        char group[16];
        for (auto digit = digits_.rbegin() + 1; digit != digits_.rend(); ++digit) {
            std::snprintf(group, sizeof group, "%09u", static_cast<unsigned>(*digit));
            text += group;
        }
        return text;
    }

  private:
    static constexpr std::uint64_t kBase = 1000000000;
    void trim() {
        while (digits_.size() > 1 && digits_.back() == 0) digits_.pop_back();
    }
    std::vector<std::uint32_t> digits_;
};

// Counts of the model as factors: M, R and populations are non-negative ints.
std::uint32_t count(Size value) { return static_cast<std::uint32_t>(std::max<Size>(value, 0)); }

}  // namespace

std::string closedMemoryEstimate(int methodIndex, int M, int R, const std::vector<int>& K) {
    const std::uint32_t m = count(M), r = count(R);
    ExactCount L(0);
    if (methodIndex == kHmva) {
        L = ExactCount(2) * r * r * m;
    } else {
        L = ExactCount(m);
        for (int i = 0; i < R; ++i) L = L * count(Size{K[i]} + 1);
    }
    const ExactCount routingRoom = ExactCount(r + 1) * (m + 1) * (m + 1);
    if (L < routingRoom) L = routingRoom;
    const ExactCount X = methodIndex == kHmva ? ExactCount(2) * m * r : ExactCount(r);
    const ExactCount reals = (ExactCount(r) + L * 2 + X) * 8;
    return (ExactCount(m) * (28 * r + 36) + reals + ExactCount(4)).decimal();
}

std::string jacksonMemoryEstimate(int M, int R) {
    const std::uint32_t m = count(M), r = count(R);
    return (((ExactCount(8) * r * m + ExactCount(60)) * r + ExactCount(44)) * m).decimal();
}

std::string diffusionMemoryEstimate(int M, int R) {
    const std::uint32_t m = count(M), r = count(R);
    const ExactCount inner = (ExactCount(4) * r * m + ExactCount(21)) * r + ExactCount(10) * m + ExactCount(18);
    return (inner * 4 * m).decimal();
}

}  // namespace kolt
