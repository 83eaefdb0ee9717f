#include "solver_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kolt::testing {
namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::filesystem::path freshDirectory(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / ("kolt-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

SolverRun runSolverProcess(const SolverStart& start) {
    const auto inputPath = start.directory / ".stdin";
    const auto consolePath = start.directory / ".console";
    if (start.input) writeBytes(inputPath, *start.input);

    std::vector<std::string> arguments{KOLT_SOLVER_PATH};
    if (start.addressSpaceBytes > 0)
        arguments.insert(arguments.begin(),
                         {"/usr/bin/prlimit", "--as=" + std::to_string(start.addressSpaceBytes), "--"});
    arguments.insert(arguments.end(), start.arguments.begin(), start.arguments.end());
    std::vector<std::string> environment = start.environment;
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, start.directory.c_str());
    if (start.input)
        posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
    else
        posix_spawn_file_actions_addclose(&actions, 0);
    posix_spawn_file_actions_addopen(&actions, 1, consolePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);

    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) throw std::runtime_error("cannot start the solver");

    int wstatus = 0;
    waitpid(child, &wstatus, 0);
    SolverRun run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.console = readBytes(consolePath);
    std::filesystem::remove(consolePath);
    std::filesystem::remove(inputPath);
    return run;
}

SolverRun runAsWorkbench(const std::filesystem::path& directory, const std::string& network, const std::string& method,
                         long long addressSpaceBytes) {
    writeBytes(directory / "siec.klt", network);
    SolverStart start{{"siec.klt", method},
                      {"WINKOLT", (directory / "siec.err").string(), (directory / "siec.wnk").string()},
                      directory,
                      std::nullopt};
    start.addressSpaceBytes = addressSpaceBytes;
    return runSolverProcess(start);
}

}  // namespace kolt::testing
