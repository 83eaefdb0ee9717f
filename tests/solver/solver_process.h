// Starts the built solver as the workbench does: posix_spawn with an explicit
// argument list and an explicit environment block, in a working directory of
// the test's choice, with standard input from a given text (or closed).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kolt::testing {

struct SolverRun {
    int status = -1;       // exit status; -1 when the process did not exit normally
    std::string console;   // standard output and standard error as the console saw them
};

struct SolverStart {
    std::vector<std::string> arguments;    // after the program name
    std::vector<std::string> environment;  // the whole block, entries as given
    std::filesystem::path directory;       // working directory
    std::optional<std::string> input = "\n";  // standard input; none: closed
    long long addressSpaceBytes = 0;          // > 0: the solver's address space is capped (prlimit)
};

SolverRun runSolverProcess(const SolverStart& start);

// A fresh, empty directory under the system's temporary directory.
std::filesystem::path freshDirectory(const std::string& name);

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace kolt::testing
