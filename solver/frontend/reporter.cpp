#include "reporter.h"

#include "text.h"

namespace kolt {
namespace {

// The prefixes in Windows-1250, converted once.
const std::string& prefixOf(Level level) {
    static const std::string prefixes[] = {"", fixedText("OSTRZEŻENIE:  "), fixedText("BŁĄD:         "),
                                           fixedText("BŁĄD FATALNY: ")};
    return prefixes[static_cast<int>(level)];
}

}  // namespace

void Reporter::report(Level level, std::string text) {
    queue_.push_back(level == Level::Info ? std::move(text) : prefixOf(level) + text);
    if (level > highestLevel_) highestLevel_ = level;
    if (level == Level::Fatal) flush(Target::Err);
}

void Reporter::reportAt(Level level, int line, int column, const std::string& text) {
    // Built by hand rather than through a format so that a message of any
    // length, and any '%' in it, stays whole.
    report(level, "(" + std::to_string(line) + "," + std::to_string(column) + ") " + text);
}

void Reporter::flush(Target target) {
    std::FILE* out = stream(target);
    std::fputc('\n', out);
    writeQueued(target);
    std::fflush(out);
    if (highestLevel_ > Level::Warning) throw RunEnded{kFailureStatus};
    highestLevel_ = Level::Info;
}

void Reporter::writeQueued(Target target) {
    std::FILE* out = stream(target);
    for (const std::string& line : queue_) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
    }
    queue_.clear();
}

}  // namespace kolt
