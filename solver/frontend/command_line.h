// The command-line steps of a run: banner, arguments, method choice and the
// loading of the network definition file.
#pragma once

#include <string>

namespace kolt {

class Reporter;

struct CommandLine {
    int methodIndex = 0;  // 0..7, or kSyntaxOnly
    std::string text;     // the whole file, CR LF turned into LF
};

// Writes the banner, checks the arguments, reports the analysed file and the
// method, flushes to standard error and loads the file. Problems are reported
// on `reporter` and end the run (RunEnded) as their level says.
CommandLine readCommandLine(int argc, const char* const* argv, Reporter& reporter);

// The file's bytes as a text-mode read delivers them: every CR LF pair
// becomes one LF; a lone CR stays.
std::string normaliseLineEnds(std::string bytes);

}  // namespace kolt
