// The solver as a process: command line, both output arrangements, exit
// statuses and the exact bytes of its messages. The solver is started the way
// the workbench starts it (posix_spawn, an explicit environment block).
#include <gtest/gtest.h>

#include <string>

#include "captured_console.h"
#include "common/cp1250.h"
#include "solver_process.h"

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

const std::string kNetwork =
    "SOUR Dwa stanowiska\n"
    "*DECLARATION*\n"
    "\t/CLASS/ NAME=Zadania[2]\n"
    "\t/STATION/ NAME=Terminal\n"
    "\t/STATION/ NAME=Procesor\n"
    "*END*\n"
    "*DESCRIPTION*\n"
    "\t/STATION/ NAME=Terminal\n"
    "\t\tSCHEDULE=IS\n"
    "\t\tSERVICE=EXP[1]\n"
    "\t\tTRANSIT=Procesor;\n"
    "\t/STATION/ NAME=Procesor\n"
    "\t\tSCHEDULE=FIFO\n"
    "\t\tSERVICE=EXP[0.5]\n"
    "\t\tTRANSIT=Terminal;\n"
    "*END*\n";

// The same network with an unknown discipline on line 13; it is found when
// the name has been read, at the newline, which is column 0 of line 14.
std::string wrongNetwork() {
    std::string text = kNetwork;
    text.replace(text.find("SCHEDULE=FIFO"), 13, "SCHEDULE=FIFU");
    return text;
}
const std::string kWrongDiscipline = errorAt(14, 0, "Nieprawidłowa nazwa regulaminu szeregowania");

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class SolverProcess : public ScratchDirectoryTest {
  protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        writeBytes(dir_ / "net.klt", kNetwork);
    }

    // A plain-mode run from a console with ENTER waiting on standard input.
    SolverRun plain(std::vector<std::string> arguments) {
        return runSolverProcess({std::move(arguments), {"PATH=/usr/bin", "LANG=C"}, dir_});
    }
    SolverRun workbench(std::vector<std::string> arguments, std::vector<std::string> environment) {
        return runSolverProcess({std::move(arguments), std::move(environment), dir_, std::nullopt});
    }
    std::string console(const SolverRun& run) const { return cp1250ToUtf8(run.console); }
    std::string results() const { return cp1250ToUtf8(readBytes(dir_ / "wyniki.txt")); }
};

TEST_F(SolverProcess, DefaultMethodIsMvaWithTheMarkerAndTheRunEndsWithTheEnterPrompt) {
    const SolverRun run = plain({"net.klt"});
    EXPECT_EQ(run.status, 0);
    const std::string text = console(run);
    EXPECT_EQ(text.rfind("KOLT-32 wersja 1.0", 0), 0u) << text;
    EXPECT_TRUE(contains(text, "\n\nAnalizowany plik: net.klt\nWybrana metoda obliczeniowa: MVA (domyslna)\n\n"))
        << text;
    EXPECT_TRUE(contains(text, "Analiza syntaktyczna...\nOK\n"));
    const std::string prompt = "Wyniki zostały zapisane w pliku wyniki.txt\nWciśnij ENTER\n";
    ASSERT_GE(text.size(), prompt.size());
    EXPECT_EQ(text.substr(text.size() - prompt.size()), prompt);
    EXPECT_TRUE(contains(results(), "WYNIKI (prosty wydruk ASCII)"));
    EXPECT_TRUE(contains(results(), "Procesor"));
}

TEST_F(SolverProcess, NamedMethodPrintsItsDisplayNameAndNoMarker) {
    EXPECT_TRUE(contains(console(plain({"net.klt", "HMVA"})), "Wybrana metoda obliczeniowa: HMVA \n"));
    EXPECT_TRUE(contains(console(plain({"net.klt", "MVAP"})), "Wybrana metoda obliczeniowa: MVA-PriorApprox \n"));
    // Arguments after the method are ignored, and so is the method itself.
    const std::string extra = console(plain({"net.klt", "JACKSON", "nadmiar"}));
    EXPECT_TRUE(contains(extra, "Wybrana metoda obliczeniowa: MVA \n")) << extra;
}

TEST_F(SolverProcess, UnknownMethodListsTheNamesAndFails) {
    const SolverRun run = plain({"net.klt", "hmva"});
    EXPECT_EQ(run.status, 50);
    // Exact Windows-1250 bytes of the error line: "BŁĄD:" and nine blanks.
    EXPECT_TRUE(hasLine(run.console,
                        "B\xA3\xA5"
                        "D:         \"hmva\" nie jest w\xB3"
                        "a\x9C"
                        "ciwym "
                        "identyfikatorem nazwy metody obliczeniowej!"));
    EXPECT_TRUE(contains(console(run),
                         "Dostępne metody:\n\n\tMVA\n\tMVAP\n\tHMVA\n\tJACKSON\n\tEPF\n\tDIFF\n\tITERM\n"
                         "\tSIMUL\n"));
    EXPECT_FALSE(contains(console(run), "Wciśnij ENTER"));
    EXPECT_FALSE(contains(console(run), "Analizowany plik"));
}

TEST_F(SolverProcess, SyntaxOnlyModeWritesTheDumpInsteadOfResults) {
    const SolverRun run = plain({"net.klt", "-c"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(contains(console(run), "Tryb analizy syntaktycznej (bez przeprowadzania obliczeń)\n"));
    EXPECT_FALSE(contains(console(run), "Analiza semantyczna"));
    EXPECT_TRUE(contains(results(), "Dwa stanowiska"));
    EXPECT_TRUE(contains(results(), "Procesor"));
    EXPECT_FALSE(contains(results(), "WYNIKI"));
}

TEST_F(SolverProcess, CommandLineFailures) {
    const SolverRun none = plain({});
    EXPECT_EQ(none.status, 50);
    EXPECT_TRUE(contains(console(none),
                         "\nBŁĄD FATALNY: Brak parametrów!\nPoprawna składnia:\n\n\tKOLT32.EXE "
                         "plik_z_definicja_sieci [metoda_rozwiazania]\n"));

    const SolverRun missing = plain({"brak.klt"});
    EXPECT_EQ(missing.status, 50);
    EXPECT_TRUE(hasLine(console(missing), fatalLine("Nie mozna otworzyc pliku brak.klt")));

    fs::create_directory(dir_ / "katalog.klt");
    const SolverRun directory = plain({"katalog.klt"});
    EXPECT_EQ(directory.status, 50);
    EXPECT_TRUE(hasLine(console(directory), fatalLine("Nie mozna otworzyc pliku katalog.klt")));

    // A device is no file: /dev/zero would otherwise be read until memory runs out.
    const SolverRun device = plain({"/dev/zero"});
    EXPECT_EQ(device.status, 50);
    EXPECT_TRUE(hasLine(console(device), fatalLine("Nie mozna otworzyc pliku /dev/zero")));

    // A percent sign in a name is written as it stands, never used as a format.
    const SolverRun percent = plain({"100%s%n.klt"});
    EXPECT_EQ(percent.status, 50);
    EXPECT_TRUE(hasLine(console(percent), fatalLine("Nie mozna otworzyc pliku 100%s%n.klt")));
}

TEST_F(SolverProcess, SyntaxErrorStopsTheRunAfterTheSyntaxAnalysis) {
    writeBytes(dir_ / "zla.klt", wrongNetwork());
    const SolverRun run = plain({"zla.klt"});
    EXPECT_EQ(run.status, 50);
    EXPECT_TRUE(hasLine(console(run), kWrongDiscipline));
    EXPECT_FALSE(contains(console(run), "Analiza semantyczna"));
    EXPECT_FALSE(contains(console(run), "Wciśnij ENTER"));
}

TEST_F(SolverProcess, WindowsLineEndsGiveTheSameDiagnosticsAndResults) {
    writeBytes(dir_ / "lf.klt", wrongNetwork());
    writeBytes(dir_ / "crlf.klt", withCrLf(wrongNetwork()));
    std::string lf = plain({"lf.klt"}).console;
    std::string crlf = plain({"crlf.klt"}).console;
    lf.replace(lf.find("lf.klt"), 6, "X");
    crlf.replace(crlf.find("crlf.klt"), 8, "X");
    EXPECT_EQ(lf, crlf);

    writeBytes(dir_ / "crlf.klt", withCrLf(kNetwork));
    ASSERT_EQ(plain({"net.klt"}).status, 0);
    const std::string fromLf = results();
    ASSERT_EQ(plain({"crlf.klt"}).status, 0);
    EXPECT_EQ(results(), fromLf);
}

TEST_F(SolverProcess, WorkbenchModeWritesOnlyIntoTheTwoFiles) {
    const SolverRun run =
        workbench({"net.klt", "MVA"}, {"WINKOLT", (dir_ / "net.err").string(), (dir_ / "net.wnk").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.console, "");
    const std::string diagnostics = cp1250ToUtf8(readBytes(dir_ / "net.err"));
    EXPECT_EQ(diagnostics.rfind("KOLT-32 wersja 1.0", 0), 0u);
    EXPECT_TRUE(contains(diagnostics, "Analiza sieci...")) << diagnostics;
    EXPECT_FALSE(contains(diagnostics, "ENTER"));
    const std::string records = readBytes(dir_ / "net.wnk");
    EXPECT_TRUE(contains(records, "\t")) << records;
    EXPECT_TRUE(contains(records, "Procesor"));
    EXPECT_FALSE(fs::exists(dir_ / "wyniki.txt"));
}

TEST_F(SolverProcess, WorkbenchModeErrorGoesToTheDiagnosticsFile) {
    writeBytes(dir_ / "zla.klt", wrongNetwork());
    const SolverRun run =
        workbench({"zla.klt", "-c"}, {"WINKOLT", (dir_ / "zla.err").string(), (dir_ / "zla.wnk").string()});
    EXPECT_EQ(run.status, 50);
    EXPECT_EQ(run.console, "");
    EXPECT_TRUE(hasLine(cp1250ToUtf8(readBytes(dir_ / "zla.err")), kWrongDiscipline));
}

TEST_F(SolverProcess, WorkbenchModeWithoutUsableFilesRefusesOnTheConsole) {
    const SolverRun shortBlock = workbench({"net.klt"}, {"WINKOLT", (dir_ / "net.err").string()});
    EXPECT_EQ(shortBlock.status, 50);
    EXPECT_TRUE(hasLine(console(shortBlock), fatalLine("W trybie WINKOLT środowisko musi podawać ścieżki pliku "
                                                       "komunikatów i pliku wyników")));

    const std::string nowhere = (dir_ / "brak" / "net.err").string();
    const SolverRun unopenable = workbench({"net.klt"}, {"WINKOLT", nowhere, (dir_ / "net.wnk").string()});
    EXPECT_EQ(unopenable.status, 50);
    EXPECT_TRUE(hasLine(console(unopenable), fatalLine("Nie mozna otworzyc pliku " + nowhere)));

    // Anything else as the first entry means plain mode.
    const SolverRun notTheMarker = runSolverProcess({{"net.klt"}, {"winkolt", "a", "b"}, dir_});
    EXPECT_EQ(notTheMarker.status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "wyniki.txt"));
}

// The console speaks the user's locale: UTF-8 in a UTF-8 locale, the
// Windows-1250 bytes in any other. Names from the network file are converted
// with the fixed texts, the path from the file system arrives intact, and the
// files do not change with the locale.
TEST_F(SolverProcess, ConsoleTextFollowsTheLocaleAndTheFilesDoNot) {
    const std::string path = "sieć-próbna.klt";
    std::string polish = kNetwork;
    for (size_t at; (at = polish.find("Procesor")) != std::string::npos;) polish.replace(at, 8, "Pami\xEA\xE6");
    writeBytes(dir_ / path, polish);
    std::string lifo = polish;
    lifo.replace(lifo.find("SCHEDULE=FIFO"), 13, "SCHEDULE=LIFO");
    writeBytes(dir_ / "lifo.klt", lifo);

    const std::vector<std::vector<std::string>> commandLines = {{path}, {path, "-c"}, {"lifo.klt"}};
    for (const auto& arguments : commandLines) {
        const SolverRun inC = runSolverProcess({arguments, {"LANG=C"}, dir_});
        const std::string filesInC = readBytes(dir_ / "wyniki.txt");
        const SolverRun inUtf8 = runSolverProcess({arguments, {"LC_ALL=C.UTF-8"}, dir_});
        EXPECT_EQ(inUtf8.status, inC.status);
        EXPECT_EQ(inUtf8.console, cp1250ToUtf8(inC.console)) << arguments.back();
        EXPECT_EQ(readBytes(dir_ / "wyniki.txt"), filesInC) << arguments.back();
    }

    const SolverRun inC = runSolverProcess({{path}, {"LANG=C"}, dir_});
    EXPECT_TRUE(contains(inC.console, "Wszelkie prawa zastrze\xBFone.\n"));
    EXPECT_TRUE(contains(inC.console,
                         "Analizowany plik: sie\xE6-pr\xF3"
                         "bna.klt\n"));
    const SolverRun inUtf8 = runSolverProcess({{path}, {"LANG=C.UTF-8"}, dir_});
    EXPECT_TRUE(contains(inUtf8.console, "Wszelkie prawa zastrzeżone.\n"));
    EXPECT_TRUE(contains(inUtf8.console, "Analizowany plik: sieć-próbna.klt\n"));
    EXPECT_TRUE(contains(inUtf8.console, "Wciśnij ENTER\n"));
    EXPECT_TRUE(hasLine(runSolverProcess({{"lifo.klt"}, {"LANG=C.UTF-8"}, dir_}).console,
                        errorLine("Typ szeregowania LIFO nie jest dozwolony dla metody MVA (stanowisko: Pamięć)")));
}

// File names are UTF-8; the diagnostics file is Windows-1250, so a name is
// converted, '?' standing for a character the code page lacks, and a name
// that is not UTF-8 at all passes as the bytes it is.
TEST_F(SolverProcess, FileSystemNamesAreWrittenInWindows1250) {
    const auto diagnosticsFor = [&](const std::string& name) {
        workbench({name, "-c"}, {"WINKOLT", (dir_ / "run.err").string(), (dir_ / "run.wnk").string()});
        return readBytes(dir_ / "run.err");
    };
    writeBytes(dir_ / "sieć-próbna.klt", kNetwork);
    EXPECT_TRUE(contains(diagnosticsFor("sieć-próbna.klt"),
                         "\nAnalizowany plik: sie\xE6-pr\xF3"
                         "bna.klt\n"));
    EXPECT_TRUE(hasLine(diagnosticsFor("brak-żółw-日本.klt"),
                        utf8ToCp1250(fatalLine("Nie mozna otworzyc pliku brak-")) + "\xBF\xF3\xB3w-??.klt"));
    writeBytes(dir_ / "stara-sie\xE6.klt", kNetwork);
    EXPECT_TRUE(contains(diagnosticsFor("stara-sie\xE6.klt"), "Analizowany plik: stara-sie\xE6.klt\n"));
}

// --help and --version answer only as the single argument; beside another
// argument the word is a file name, as it always was.
TEST_F(SolverProcess, HelpAndVersionAnswerOnlyAlone) {
    const SolverRun help = runSolverProcess({{"--help"}, {"LANG=C.UTF-8"}, dir_});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.console.rfind("Użycie: kolt-32 PLIK [METODA | -c]\n", 0), 0u) << help.console;
    const SolverRun version = runSolverProcess({{"--version"}, {"LANG=C"}, dir_});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.console.rfind("KOLT-32 wersja 1.0  (c) 1997", 0), 0u) << version.console;
    EXPECT_FALSE(fs::exists(dir_ / "wyniki.txt"));

    const SolverRun asFileName = plain({"--help", "MVA"});
    EXPECT_EQ(asFileName.status, 50);
    EXPECT_TRUE(hasLine(console(asFileName), fatalLine("Nie mozna otworzyc pliku --help")));
}

// An output file that is the network file itself, under any name, would be
// truncated before the file is read or overwritten by the results: refused,
// and the file keeps its bytes. So are one file for both outputs.
TEST_F(SolverProcess, OutputsThatAreTheInputFileAreRefusedAndTheFileSurvives) {
    auto refused = [&](const SolverRun& run, const std::string& input) {
        EXPECT_EQ(run.status, 50);
        EXPECT_TRUE(hasLine(
            console(run), fatalLine("Analizowany plik " + input + " nie może zostać nadpisany przez wyniki analizy")));
        EXPECT_EQ(readBytes(dir_ / input), kNetwork);
    };
    writeBytes(dir_ / "wyniki.txt", kNetwork);
    refused(plain({"wyniki.txt"}), "wyniki.txt");

    writeBytes(dir_ / "model.err", kNetwork);
    refused(workbench({"model.err"}, {"WINKOLT", (dir_ / "model.err").string(), (dir_ / "model.wnk").string()}),
            "model.err");
    writeBytes(dir_ / "model.wnk", kNetwork);
    refused(workbench({"model.wnk"}, {"WINKOLT", (dir_ / "model.err").string(), (dir_ / "model.wnk").string()}),
            "model.wnk");
    // A second name of the same file is the same file.
    fs::create_hard_link(dir_ / "net.klt", dir_ / "alias.err");
    refused(workbench({"net.klt"}, {"WINKOLT", (dir_ / "alias.err").string(), (dir_ / "net.wnk").string()}), "net.klt");

    const std::string both = (dir_ / "net.out").string();
    const SolverRun shared = workbench({"net.klt"}, {"WINKOLT", both, both});
    EXPECT_EQ(shared.status, 50);
    EXPECT_TRUE(hasLine(console(shared), fatalLine("Nie mozna otworzyc pliku " + both)));
}

TEST_F(SolverProcess, PlainModeEndsWithAnExhaustedOrClosedInput) {
    EXPECT_EQ(runSolverProcess({{"net.klt"}, {}, dir_, std::string()}).status, 0);
    EXPECT_EQ(runSolverProcess({{"net.klt"}, {}, dir_, std::nullopt}).status, 0);
}

TEST_F(SolverProcess, MalformedFilesEndWithTheFailureStatusAndNeverASignal) {
    const std::string samples[] = {
        std::string("\0\0\0SOUR\0\0", 9),
        std::string(10 * 1024 * 1024, 'x'),
        "SOUR A\n*DECLARATION*\n/CLASS/ NAME=" + std::string(3000, 'K') + "[1]\n",
        "SOUR A\n! nie zamknięty komentarz",
        "SOUR A\n*DECLARATION*\n/CLASS/ NAME=K[-3]\n/STATION/ NAME=S\n*END*\n",
        "SOUR A\n*DECLARATION*\n/CLASS/ NAME=K[99999999999]\n*END*\n",
    };
    for (const std::string& sample : samples) {
        writeBytes(dir_ / "zle.klt", sample);
        const SolverRun run = plain({"zle.klt", "-c"});
        EXPECT_EQ(run.status, 50) << cp1250ToUtf8(run.console);
    }
}

}  // namespace
}  // namespace kolt::testing
