// Running the scanner and the parser in-process against a reporter that
// writes to temporary files, and reading back what it wrote.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/cp1250.h"
#include "solver/core/reporter.h"
#include "solver/language/parser.h"
#include "solver/model/network.h"

namespace kolt::testing {

// A reporter on two temporary files.
class CapturedConsole {
public:
    CapturedConsole() : out_(std::tmpfile()), err_(std::tmpfile()), reporter_(Console{out_, err_}) {}
    ~CapturedConsole() {
        std::fclose(out_);
        std::fclose(err_);
    }
    CapturedConsole(const CapturedConsole&) = delete;
    CapturedConsole& operator=(const CapturedConsole&) = delete;

    Reporter& reporter() { return reporter_; }

    // Everything written to standard error so far, as the bytes written.
    std::string errBytes() {
        std::fflush(err_);
        std::string bytes;
        std::rewind(err_);
        for (int c; (c = std::fgetc(err_)) != EOF;) bytes.push_back(static_cast<char>(c));
        std::fseek(err_, 0, SEEK_END);
        return bytes;
    }

    // Flushes the queue to standard error (an error level does not stop the
    // test) and returns the non-empty lines written so far, as UTF-8.
    std::vector<std::string> flushedLines() {
        try {
            reporter_.flush(Target::Err);
        } catch (const RunEnded&) {
        }
        return nonEmptyLines(cp1250ToUtf8(errBytes()));
    }

    static std::vector<std::string> nonEmptyLines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) lines.push_back(line);
        return lines;
    }

private:
    std::FILE* out_;
    std::FILE* err_;
    Reporter reporter_;
};

// The whole outcome of one syntax analysis.
struct ParseOutcome {
    std::unique_ptr<CapturedConsole> console = std::make_unique<CapturedConsole>();
    std::unique_ptr<Network> network;  // destroyed before the console it reports to
    std::optional<int> endStatus;      // set when the run was ended
    std::string errText;               // all of standard error, as UTF-8
    // The diagnostic lines, without the stage text before them and the "OK" after.
    std::vector<std::string> messages;
};

inline ParseOutcome parseText(std::string text) {
    ParseOutcome outcome;
    try {
        Parser parser(outcome.console->reporter(), std::move(text));
        outcome.network = parser.parseNetwork();
    } catch (const RunEnded& ended) {
        outcome.endStatus = ended.status;
    }
    outcome.errText = cp1250ToUtf8(outcome.console->errBytes());
    outcome.messages = CapturedConsole::nonEmptyLines(outcome.errText);
    if (!outcome.messages.empty() && outcome.messages.front() == "Analiza syntaktyczna...")
        outcome.messages.erase(outcome.messages.begin());
    if (!outcome.endStatus && !outcome.messages.empty() && outcome.messages.back() == "OK") outcome.messages.pop_back();
    return outcome;
}

inline std::string positioned(const char* prefix, int line, int column, const std::string& text) {
    return std::string(prefix) + "(" + std::to_string(line) + "," + std::to_string(column) + ") " + text;
}
inline std::string warningAt(int line, int column, const std::string& text) {
    return positioned("OSTRZEŻENIE:  ", line, column, text);
}
inline std::string errorAt(int line, int column, const std::string& text) {
    return positioned("BŁĄD:         ", line, column, text);
}

// A file with the given declaration and description items: the declarations
// begin on line 3, the descriptions on the line after "*DESCRIPTION*".
inline std::string networkFile(const std::string& declarations, const std::string& descriptions) {
    return "SOUR Test\n*DECLARATION*\n" + declarations + "*END*\n*DESCRIPTION*\n" + descriptions + "*END*\n";
}

}  // namespace kolt::testing
