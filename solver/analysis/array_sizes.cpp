#include "solver/analysis/array_sizes.h"

#include <unistd.h>

#include <new>
#include <stdexcept>
#include <string>

#include "solver/frontend/reporter.h"
#include "solver/frontend/text.h"

namespace kolt {
namespace {

std::int64_t physicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return kSaturatedSize;
    return saturatingMultiply(pages, pageSize);
}

[[noreturn]] void reportAllocationFailure(const char* label, Reporter& reporter) {
    reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci") + label);
    // A Fatal report flushes and ends the run; this is never reached.
    throw RunEnded{kFailureStatus};
}

}  // namespace

std::int64_t saturatingMultiply(std::int64_t a, std::int64_t b) {
    if (a == kSaturatedSize || b == kSaturatedSize) return kSaturatedSize;
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return kSaturatedSize;
    return product;
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    if (a == kSaturatedSize || b == kSaturatedSize) return kSaturatedSize;
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return kSaturatedSize;
    return sum;
}

bool allocatable(std::int64_t count, std::int64_t elementSize) {
    if (count < 0) return false;
    const std::int64_t bytes = saturatingMultiply(count, elementSize);
    return bytes != kSaturatedSize && bytes <= physicalMemoryBytes();
}

template <typename T>
void allocateArray(std::vector<T>& array, std::int64_t count, const char* label, Reporter& reporter) {
    if (!allocatable(count, sizeof(T))) reportAllocationFailure(label, reporter);
    try {
        array.assign(static_cast<std::size_t>(count), T{});
    } catch (const std::bad_alloc&) {
        reportAllocationFailure(label, reporter);
    } catch (const std::length_error&) {
        reportAllocationFailure(label, reporter);
    }
}

template void allocateArray<int>(std::vector<int>&, std::int64_t, const char*, Reporter&);
template void allocateArray<double>(std::vector<double>&, std::int64_t, const char*, Reporter&);

}  // namespace kolt
