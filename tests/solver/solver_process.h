// Starts the built solver as the workbench does: posix_spawn with an explicit
// argument list and an explicit environment block, in a working directory of
// the test's choice, with standard input from a given text (or closed).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kolt::testing {

struct SolverRun {
    int status = -1;      // exit status; -1 when the process did not exit normally
    std::string console;  // standard output and standard error as the console saw them
};

struct SolverStart {
    std::vector<std::string> arguments;       // after the program name
    std::vector<std::string> environment;     // the whole block, entries as given
    std::filesystem::path directory;          // working directory
    std::optional<std::string> input = "\n";  // standard input; none: closed
    long long addressSpaceBytes = 0;          // > 0: the solver's address space is capped (prlimit)
};

SolverRun runSolverProcess(const SolverStart& start);

// Writes `network` (Windows-1250 bytes) to siec.klt in `directory` and runs
// the solver on it as the workbench does, the diagnostics and the results
// going to siec.err and siec.wnk beside it.
SolverRun runAsWorkbench(const std::filesystem::path& directory, const std::string& network, const std::string& method,
                         long long addressSpaceBytes = 0);

// A fresh, empty directory under the system's temporary directory.
std::filesystem::path freshDirectory(const std::string& name);

// A fresh directory for each test, named after it and removed after it.
class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = freshDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace kolt::testing
