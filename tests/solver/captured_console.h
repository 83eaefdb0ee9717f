// A reporter whose console is two temporary files, what it wrote read back,
// and the diagnostic lines the solver writes, to be compared whole.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/cp1250.h"
#include "solver/core/reporter.h"

namespace kolt::testing {

// Everything written to a temporary file so far, as the bytes written. Later
// writes still go to the end.
inline std::string writtenBytes(std::FILE* file) {
    std::fflush(file);
    std::string bytes;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<char>(c));
    std::fseek(file, 0, SEEK_END);
    return bytes;
}

inline std::vector<std::string> nonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// Whether one of the lines of `text` is exactly `line`; a failure shows the text.
inline ::testing::AssertionResult hasLine(const std::string& text, const std::string& line) {
    if (("\n" + text).find("\n" + line + "\n") != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no line \"" << line << "\" in:\n" << text;
}

// A diagnostic line as the reporter writes it: the level padded to fourteen
// columns, then the position when there is one, then the text.
inline std::string errorLine(const std::string& text) { return "BŁĄD:         " + text; }
inline std::string warningLine(const std::string& text) { return "OSTRZEŻENIE:  " + text; }
inline std::string fatalLine(const std::string& text) { return "BŁĄD FATALNY: " + text; }
inline std::string positioned(int line, int column, const std::string& text) {
    return "(" + std::to_string(line) + "," + std::to_string(column) + ") " + text;
}
inline std::string errorAt(int line, int column, const std::string& text) {
    return errorLine(positioned(line, column, text));
}
inline std::string warningAt(int line, int column, const std::string& text) {
    return warningLine(positioned(line, column, text));
}

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
    std::FILE* outFile() const { return out_; }
    std::FILE* errFile() const { return err_; }

    // Everything written so far, as the Windows-1250 bytes written / as UTF-8.
    std::string outBytes() const { return writtenBytes(out_); }
    std::string errBytes() const { return writtenBytes(err_); }
    std::string out() const { return cp1250ToUtf8(outBytes()); }
    std::string err() const { return cp1250ToUtf8(errBytes()); }

    // Flushes the queue to standard error (an error level does not stop the
    // test) and returns all of standard error so far, as UTF-8.
    std::string flushed() {
        try {
            reporter_.flush(Target::Err);
        } catch (const RunEnded&) {
        }
        return err();
    }
    // The same, as its non-empty lines.
    std::vector<std::string> flushedLines() { return nonEmptyLines(flushed()); }

  private:
    std::FILE* out_;
    std::FILE* err_;
    Reporter reporter_;
};

}  // namespace kolt::testing
