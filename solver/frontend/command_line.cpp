#include "command_line.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "program_info.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"

namespace kolt {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a network definition for reading. A directory holds no text, and a
// device never ends (/dev/zero would be read until memory runs out), so
// neither can be opened as a network definition; files and pipes can.
FileHandle openNetworkFile(const char* path) {
    FileHandle file(std::fopen(path, "rb"));
    if (!file) return nullptr;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0) return nullptr;
    if (S_ISDIR(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return nullptr;
    return file;
}

// Reads to the end; false on a read error. A regular file's size is known:
// the text is read into a buffer of that size, not grown by doubling.
bool readAll(std::FILE* file, std::string& bytes) {
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        bytes.reserve(static_cast<size_t>(info.st_size) + 1);
    char chunk[65536];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes.append(chunk, got);
        if (got < sizeof chunk) return !std::ferror(file);
    }
}

int chooseMethod(int argc, const char* const* argv, Reporter& reporter) {
    if (argc != 3) return kMva;
    const int found = findMethod(argv[2]);
    if (found >= 0) return found;
    if (std::strcmp(argv[2], "-c") == 0) return kSyntaxOnly;
    reporter.report(Level::Error, formatText("\"%s\" nie jest właściwym identyfikatorem nazwy metody obliczeniowej!",
                                             systemText(argv[2]).c_str()));
    reporter.report(Level::Info, fixedText("Dostępne metody:\n"));
    for (int i = 0; i < kMethodCount; ++i) reporter.report(Level::Info, formatText("\t%s", methodInfo(i).commandName));
    reporter.flush(Target::Err);
    return kMva;  // not reached: the flush above ends the run
}

}  // namespace

std::string normaliseLineEnds(std::string bytes) {
    // Most files have no CR at all; the others are moved a line at a time.
    size_t from = bytes.find('\r');
    if (from == std::string::npos) return bytes;
    size_t to = from;
    while (from < bytes.size()) {
        if (bytes[from] == '\r' && from + 1 < bytes.size() && bytes[from + 1] == '\n') {
            ++from;
            continue;
        }
        const size_t next = bytes.find('\r', from + 1);
        const size_t end = next == std::string::npos ? bytes.size() : next;
        std::memmove(&bytes[to], &bytes[from], end - from);
        to += end - from;
        from = end;
    }
    bytes.resize(to);
    return bytes;
}

NetworkFile loadNetworkFile(int argc, const char* const* argv) {
    NetworkFile loaded;
    if (argc <= 1) return loaded;
    const FileHandle file = openNetworkFile(argv[1]);
    if (!file) return loaded;
    loaded.opened = true;
    loaded.identity = identityOf(file.get());
    std::string bytes;
    loaded.complete = readAll(file.get(), bytes);
    loaded.text = normaliseLineEnds(std::move(bytes));
    return loaded;
}

CommandLine readCommandLine(int argc, const char* const* argv, NetworkFile file, Reporter& reporter) {
    CommandLine line;
    writeFixed(reporter.stream(Target::Err), bannerText());
    if (argc <= 1) {
        reporter.report(Level::Fatal, fixedText("Brak parametrów!\nPoprawna składnia:\n\n\tKOLT32.EXE "
                                                "plik_z_definicja_sieci [metoda_rozwiazania]"));
        return line;  // not reached: a Fatal report ends the run
    }
    line.methodIndex = chooseMethod(argc, argv, reporter);

    const std::string path = systemText(argv[1]);
    if (!file.opened) reporter.report(Level::Fatal, formatText("Nie mozna otworzyc pliku %s", path.c_str()));
    reporter.report(Level::Info, formatText("Analizowany plik: %s", path.c_str()));
    const char* marker = argc <= 2 ? "(domyslna)" : "";
    if (line.methodIndex >= 0)
        reporter.report(Level::Info, formatText("Wybrana metoda obliczeniowa: %s %s\n",
                                                fixedText(methodInfo(line.methodIndex).displayName).c_str(), marker));
    else
        reporter.report(Level::Info, fixedText("Tryb analizy syntaktycznej (bez przeprowadzania obliczeń)\n"));
    reporter.flush(Target::Err);

    if (!file.complete) reporter.report(Level::Fatal, formatText("Nie mozna otworzyc pliku %s", path.c_str()));
    line.text = std::move(file.text);
    return line;
}

}  // namespace kolt
