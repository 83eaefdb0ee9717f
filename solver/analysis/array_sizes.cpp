#include "solver/analysis/array_sizes.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>

#include "solver/core/reporter.h"
#include "solver/core/text.h"

namespace kolt {
namespace {

std::int64_t physicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return kSaturatedSize;
    return saturatingMultiply(pages, pageSize);
}

// A number of bytes from a text file ("max" or anything unreadable: none).
std::int64_t bytesIn(const std::string& path) {
    std::ifstream in(path);
    long long value = -1;
    if (!(in >> value) || value < 0) return kSaturatedSize;
    return value;
}

// MemAvailable of /proc/meminfo, in bytes.
std::int64_t systemAvailableBytes() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    long long kib = 0;
    std::string unit;
    while (in >> key >> kib) {
        std::getline(in, unit);
        if (key == "MemAvailable:") return saturatingMultiply(kib, 1024);
    }
    return physicalMemoryBytes();
}

// What the process's control group (v2, or v1's memory controller) still
// allows: its limit minus its usage; no limit when there is none.
std::int64_t controlGroupAvailableBytes() {
    std::ifstream cgroups("/proc/self/cgroup");
    std::string line;
    std::int64_t available = kSaturatedSize;
    while (std::getline(cgroups, line)) {
        // hierarchy-id:controllers:path
        const auto first = line.find(':');
        const auto second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        std::int64_t limit = kSaturatedSize, usage = 0;
        if (controllers.empty()) {
            limit = bytesIn("/sys/fs/cgroup" + path + "/memory.max");
            usage = bytesIn("/sys/fs/cgroup" + path + "/memory.current");
        } else if (("," + controllers + ",").find(",memory,") != std::string::npos) {
            limit = bytesIn("/sys/fs/cgroup/memory" + path + "/memory.limit_in_bytes");
            usage = bytesIn("/sys/fs/cgroup/memory" + path + "/memory.usage_in_bytes");
        }
        if (limit == kSaturatedSize) continue;
        if (usage == kSaturatedSize) usage = 0;
        available = std::min(available, std::max<std::int64_t>(limit - usage, 0));
    }
    return available;
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

std::int64_t availableMemoryBytes() {
    return std::min({physicalMemoryBytes(), systemAvailableBytes(), controlGroupAvailableBytes()});
}

bool allocatable(std::int64_t count, std::int64_t elementSize) {
    if (count < 0) return false;
    const std::int64_t bytes = saturatingMultiply(count, elementSize);
    // Small arrays are never worth reading /proc for.
    if (bytes <= (std::int64_t{1} << 20)) return true;
    return bytes != kSaturatedSize && bytes <= availableMemoryBytes();
}

void allocateWorkspace(Workspace& array, std::int64_t count, const char* label, Reporter& reporter) {
    if (!allocatable(count, sizeof(double))) reportAllocationFailure(label, reporter);
    try {
        array.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        reportAllocationFailure(label, reporter);
    } catch (const std::length_error&) {
        reportAllocationFailure(label, reporter);
    }
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
template void allocateArray<std::int64_t>(std::vector<std::int64_t>&, std::int64_t, const char*, Reporter&);

}  // namespace kolt
