// The command-line steps of a run: banner, arguments, method choice and the
// loading of the network definition file.
#pragma once

#include <string>

#include "file_identity.h"

namespace kolt {

class Reporter;

// The network definition file (argument 1), read before any output file is
// opened, so that a run can refuse outputs that are the input itself instead
// of truncating it.
struct NetworkFile {
    bool opened = false;    // false: no argument, missing, a directory or a device
    bool complete = false;  // read to its end
    std::string text;       // CR LF turned into LF
    FileIdentity identity;
};

// Opens and reads argument 1 without reporting anything.
NetworkFile loadNetworkFile(int argc, const char* const* argv);

struct CommandLine {
    int methodIndex = 0;  // 0..7, or kSyntaxOnly
    std::string text;     // the whole file, CR LF turned into LF
};

// Writes the banner, checks the arguments, reports the analysed file and the
// method, flushes to standard error and hands over the loaded file's text.
// Problems, a file that could not be loaded among them, are reported on
// `reporter` and end the run (RunEnded) as their level says.
CommandLine readCommandLine(int argc, const char* const* argv, NetworkFile file, Reporter& reporter);

// The file's bytes as a text-mode read delivers them: every CR LF pair
// becomes one LF; a lone CR stays.
std::string normaliseLineEnds(std::string bytes);

}  // namespace kolt
