#include "run_driver.h"

#include <unistd.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "command_line.h"
#include "console_stream.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/analysis_driver.h"
#include "solver/analysis/presentation_module.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/language/parser.h"
#include "solver/model/network.h"

namespace kolt {
namespace {

bool isWorkbenchMode(const char* const* envp) {
    return envp != nullptr && envp[0] != nullptr && std::strcmp(envp[0], "WINKOLT") == 0;
}

// A problem found before the streams are in place goes to the console.
int refuseOnConsole(std::FILE* console, const std::string& text) {
    std::fputs(text.c_str(), console);
    std::fputc('\n', console);
    return kFailureStatus;
}

// Points `target` (1 or 2) at a file opened for writing; false when the file
// cannot be opened, leaving the stream untouched.
bool redirect(int target, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool moved = dup2(fileno(file), target) >= 0;
    std::fclose(file);
    return moved;
}

// An output that is the network file itself would truncate it before it is
// analysed, or overwrite it with the results: such a run is refused.
int refuseInputAsOutput(std::FILE* console, const char* inputPath) {
    return refuseOnConsole(console, formatText("BŁĄD FATALNY: Analizowany plik %s nie może zostać nadpisany przez "
                                               "wyniki analizy",
                                               systemText(inputPath).c_str()));
}

// Sets up the two streams for the mode; returns 0 or the failure status.
// `input` is the identity of the network file, already read.
int arrangeOutputs(bool workbenchMode, const char* const* envp, const FileIdentity& input, const char* inputPath,
                   std::FILE* console) {
    if (!workbenchMode) {
        if (sameFile(input, identityOf("wyniki.txt"))) return refuseInputAsOutput(console, inputPath);
        if (!std::freopen("wyniki.txt", "w", stdout))
            return refuseOnConsole(console, formatText("BŁĄD FATALNY: Nie mozna otworzyc pliku %s", "wyniki.txt"));
        return 0;
    }
    const char* diagnostics = envp[1];
    const char* results = diagnostics ? envp[2] : nullptr;
    if (!diagnostics || !results)
        return refuseOnConsole(console, fixedText("BŁĄD FATALNY: W trybie WINKOLT środowisko musi podawać "
                                                  "ścieżki pliku komunikatów i pliku wyników"));
    if (sameFile(input, identityOf(diagnostics)) || sameFile(input, identityOf(results)))
        return refuseInputAsOutput(console, inputPath);
    const std::string shownResults = systemText(results);
    std::fflush(stdout);
    std::fflush(stderr);
    // Both files are checked before either stream moves, so that a refusal
    // still reaches the console.
    std::FILE* probe = std::fopen(results, "ab");
    if (!probe)
        return refuseOnConsole(console, formatText("BŁĄD FATALNY: Nie mozna otworzyc pliku %s", shownResults.c_str()));
    std::fclose(probe);
    // One file for both streams would interleave diagnostics and records:
    // the results file cannot be had for its own purpose.
    if (sameFile(identityOf(diagnostics), identityOf(results)))
        return refuseOnConsole(console, formatText("BŁĄD FATALNY: Nie mozna otworzyc pliku %s", shownResults.c_str()));
    if (!redirect(STDERR_FILENO, diagnostics))
        return refuseOnConsole(
            console, formatText("BŁĄD FATALNY: Nie mozna otworzyc pliku %s", systemText(diagnostics).c_str()));
    if (!redirect(STDOUT_FILENO, results)) {
        std::fputs(formatText("BŁĄD FATALNY: Nie mozna otworzyc pliku %s\n", shownResults.c_str()).c_str(), stderr);
        return kFailureStatus;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    return 0;
}

void analyseAndPrint(const Network& network, int methodIndex, bool workbenchMode, Reporter& reporter) {
    AnalysisContext context;
    PresentationModule results;
    analyseNetwork(network, methodIndex, context, results, reporter);
    for (int c = -1; c < network.numberOfClasses(); ++c) results.print(c, workbenchMode, reporter);
}

// The model lives until the process ends and is not taken apart: for a file
// of hundreds of thousands of objects that would take a good part of the
// time it took to read them, and the system reclaims the memory at once. It
// stays reachable from here, so a leak checker does not count it.
const Network* keepToTheEnd(std::unique_ptr<Network> network) {
    static auto* kept = new std::vector<std::unique_ptr<Network>>();
    if (!network) return nullptr;
    kept->push_back(std::move(network));
    return kept->back().get();
}

int solve(int argc, const char* const* argv, NetworkFile file, bool workbenchMode, Reporter& reporter) {
    CommandLine line = readCommandLine(argc, argv, std::move(file), reporter);
    Parser parser(reporter, std::move(line.text));
    const Network* network = keepToTheEnd(parser.parseNetwork());
    if (network) {
        if (line.methodIndex == kSyntaxOnly)
            network->writeDump();
        else
            analyseAndPrint(*network, line.methodIndex, workbenchMode, reporter);
    }
    reporter.flush(Target::Out);
    return 0;
}

}  // namespace

int runSolver(int argc, const char* const* argv, const char* const* envp, std::FILE* input) {
    const bool workbenchMode = isWorkbenchMode(envp);
    // Only the console speaks the user's encoding; in WINKOLT mode standard
    // error is the diagnostics file and keeps its Windows-1250 bytes.
    const ConsoleStream console(stderr, !workbenchMode);
    // The network file is read before any output is opened (and truncated).
    NetworkFile file;
    try {
        file = loadNetworkFile(argc, argv);
    } catch (const std::bad_alloc&) {
        return refuseOnConsole(console.get(), fixedText("BŁĄD FATALNY: Brak pamięci"));
    }
    if (const int refused = arrangeOutputs(workbenchMode, envp, file.identity, argc > 1 ? argv[1] : "", console.get()))
        return refused;

    Reporter reporter(Console{stdout, console.get()});
    int status = 0;
    try {
        status = solve(argc, argv, std::move(file), workbenchMode, reporter);
    } catch (const RunEnded& ended) {
        status = ended.status;
    } catch (const std::bad_alloc&) {
        std::fputs(fixedText("\nBŁĄD FATALNY: Brak pamięci\n").c_str(), console.get());
        status = kFailureStatus;
    }
    std::fflush(stdout);
    if (status == 0 && !workbenchMode) {
        writeFixed(console.get(), "Wyniki zostały zapisane w pliku wyniki.txt\nWciśnij ENTER\n");
        std::fflush(console.get());
        std::fgetc(input);
    }
    return status;
}

}  // namespace kolt
