// Every example network under every method it admits, compared byte for byte
// with the files in tests/golden: the diagnostics and the result records of a
// WINKOLT run (<example>.<METHOD>.err, .wnk), the plain report of a console
// run (.txt), and the exit status (MANIFEST). Each run starts in a scratch
// directory holding a copy of the example under its own name, so no path of
// the machine enters the files.
//
// With KOLT_REGENERATE_GOLDEN=1 in the environment the files are written
// instead of compared (tests/golden/regenerate.sh); their diff is reviewed
// before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "solver_process.h"

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

// Syntax-only mode ("-c", files named ".c.") and every method name.
const std::vector<std::string> kRuns = {"-c", "MVA", "MVAP", "HMVA", "JACKSON", "EPF", "DIFF", "ITERM", "SIMUL"};

const fs::path kGolden = fs::path(KOLT_SOURCE_DIR) / "tests" / "golden";

struct Outcome {
    int status = -1;
    std::string diagnostics, records, report;
};

Outcome runExample(const fs::path& example, const std::string& method) {
    const std::string file = example.filename().string();
    const std::string base = example.stem().string();
    const fs::path dir = freshDirectory("golden");
    fs::copy_file(example, dir / file);
    Outcome outcome;
    const SolverRun workbench =
        runSolverProcess({{file, method}, {"WINKOLT", base + ".err", base + ".wnk"}, dir, std::nullopt});
    outcome.status = workbench.status;
    outcome.diagnostics = readBytes(dir / (base + ".err"));
    outcome.records = readBytes(dir / (base + ".wnk"));
    const SolverRun console = runSolverProcess({{file, method}, {"LANG=C"}, dir});
    EXPECT_EQ(console.status, workbench.status) << file << " " << method;
    outcome.report = readBytes(dir / "wyniki.txt");
    fs::remove_all(dir);
    return outcome;
}

// A method the network does not admit is refused by the semantic analysis:
// the method itself, or a discipline or distribution of a station.
bool admitted(const Outcome& outcome) { return outcome.diagnostics.find("nie jest dozwolon") == std::string::npos; }

std::string goldenName(const fs::path& example, const std::string& method, const char* extension) {
    return example.stem().string() + "." + (method == "-c" ? std::string("c") : method) + "." + extension;
}

std::vector<fs::path> examples() {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(fs::path(KOLT_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".klt") found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

std::string manifestLine(const fs::path& example, const std::string& method, int status) {
    return example.stem().string() + " " + method + " " + std::to_string(status) + "\n";
}

TEST(Golden, EveryExampleUnderEveryMethodItAdmits) {
    const bool regenerate = std::getenv("KOLT_REGENERATE_GOLDEN") != nullptr;
    std::string manifest;
    for (const fs::path& example : examples()) {
        for (const std::string& method : kRuns) {
            SCOPED_TRACE(example.filename().string() + " " + method);
            const Outcome outcome = runExample(example, method);
            const fs::path err = kGolden / goldenName(example, method, "err");
            const fs::path wnk = kGolden / goldenName(example, method, "wnk");
            const fs::path txt = kGolden / goldenName(example, method, "txt");
            if (!admitted(outcome)) {
                EXPECT_FALSE(fs::exists(err)) << "a golden file for a method the network does not admit";
                continue;
            }
            manifest += manifestLine(example, method, outcome.status);
            if (regenerate) {
                writeBytes(err, outcome.diagnostics);
                writeBytes(wnk, outcome.records);
                writeBytes(txt, outcome.report);
                continue;
            }
            ASSERT_TRUE(fs::exists(err)) << "no golden files: run tests/golden/regenerate.sh";
            EXPECT_EQ(outcome.diagnostics, readBytes(err));
            EXPECT_EQ(outcome.records, readBytes(wnk));
            EXPECT_EQ(outcome.report, readBytes(txt));
        }
    }
    if (regenerate)
        writeBytes(kGolden / "MANIFEST", manifest);
    else
        EXPECT_EQ(manifest, readBytes(kGolden / "MANIFEST")) << "exit statuses or admitted methods changed";
}

}  // namespace
}  // namespace kolt::testing
