#include "method_table.h"

#include <cstring>

namespace kolt {
namespace {

// Four methods to a row.
// clang-format off
constexpr MethodInfo kMethods[kMethodCount] = {
    {"MVA", "MVA"},         {"MVAP", "MVA-PriorApprox"}, {"HMVA", "HMVA"},    {"JACKSON", "Jackson"},
    {"EPF", "EPF"},         {"DIFF", "DIFF"},            {"ITERM", "Iteracyjna"}, {"SIMUL", "Symulacja"},
};
// clang-format on

}  // namespace

const MethodInfo& methodInfo(int methodIndex) { return kMethods[methodIndex]; }

int findMethod(const char* commandName) {
    for (int i = 0; i < kMethodCount; ++i)
        if (std::strcmp(kMethods[i].commandName, commandName) == 0) return i;
    return -2;
}

}  // namespace kolt
