// Sizes of the solver arrays in 64 bits, and their allocation.
//
// Populations and station counts multiply quickly (four classes of 300
// customers already pass 2^32), so every size is a saturating 64-bit
// product: a product that does not fit stays at kSaturatedSize, which no
// allocation accepts.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace kolt {

class Reporter;

constexpr std::int64_t kSaturatedSize = std::numeric_limits<std::int64_t>::max();

// a*b, or kSaturatedSize when it overflows or either factor is saturated.
std::int64_t saturatingMultiply(std::int64_t a, std::int64_t b);
// a+b, or kSaturatedSize when it overflows or either term is saturated.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b);

// Bytes the process can still have: the smaller of the memory the system
// has available now and what the process's control group still allows.
std::int64_t availableMemoryBytes();

// True when `count` elements of `elementSize` bytes may be requested at all:
// the byte size must not overflow and must not exceed availableMemoryBytes().
// Linux overcommit would let a larger request succeed and filling it would
// then get the process killed, so it is refused beforehand.
bool allocatable(std::int64_t count, std::int64_t elementSize);

// An allocator that leaves new doubles unset: a workspace that the methods
// write before they read is not filled (and its pages not touched) twice.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using Workspace = std::vector<double, UninitialisedAllocator<double>>;

// Sizes `array` to `count` unset elements; refusals as allocateArray.
void allocateWorkspace(Workspace& array, std::int64_t count, const char* label, Reporter& reporter);

// Sizes `array` to `count` zeros. A size that is not allocatable, or memory
// that cannot be obtained, ends the run with the Fatal message
// "Blad allokacji pamięci (NAME)" (`label` is the text after "pamięci",
// blank and parentheses included, so that the message of K can differ).
template <typename T>
void allocateArray(std::vector<T>& array, std::int64_t count, const char* label, Reporter& reporter);

extern template void allocateArray<int>(std::vector<int>&, std::int64_t, const char*, Reporter&);
extern template void allocateArray<double>(std::vector<double>&, std::int64_t, const char*, Reporter&);
extern template void allocateArray<std::int64_t>(std::vector<std::int64_t>&, std::int64_t, const char*, Reporter&);

}  // namespace kolt
