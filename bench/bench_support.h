// A whole in-process solve for the benchmarks: the network text parsed, the
// arrays allocated and built, the method run and its results derived, every
// message going to /dev/null.
#pragma once

#include <string>

namespace kolt::bench {

// Parses `text` and solves it by the method index; false when the run ended
// with an error.
bool solveText(const std::string& text, int methodIndex);

// Only the syntax analysis; false after an error.
bool parseText(const std::string& text);

}  // namespace kolt::bench
