// The solution methods by index: command-line name and display name.
#pragma once

namespace kolt {

constexpr int kSyntaxOnly = -1;
constexpr int kMethodCount = 8;

enum MethodIndex : int { kMva = 0, kMvap = 1, kHmva = 2, kJackson = 3, kEpf = 4, kDiff = 5, kIterm = 6, kSimul = 7 };

struct MethodInfo {
    const char* commandName;  // as matched on the command line
    const char* displayName;  // as printed in messages (UTF-8)
};

const MethodInfo& methodInfo(int methodIndex);
// Index of an exact (case-sensitive) command-line name, or -2 when unknown.
int findMethod(const char* commandName);

}  // namespace kolt
