// What the solver says about itself: the banner that opens every run, and the
// answers to --help and --version.
#pragma once

#include <cstdio>

namespace kolt {

// The banner line with its newline (UTF-8, like every fixed text).
const char* bannerText();

// True when the only argument is "--help" or "--version". With any other
// argument beside it the word keeps its old meaning, a file name.
bool isInfoRequest(int argc, const char* const* argv);

// Writes the help or the version for `request` to `out` in the console's
// encoding and returns the exit status.
int writeInfo(const char* request, std::FILE* out);

}  // namespace kolt
