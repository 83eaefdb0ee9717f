#include "reporter.h"

#include "text.h"

namespace kolt {
namespace {

const char* prefixOf(Level level) {
    switch (level) {
        case Level::Info: return "";
        case Level::Warning: return "OSTRZEŻENIE:  ";
        case Level::Error: return "BŁĄD:         ";
        case Level::Fatal: return "BŁĄD FATALNY: ";
    }
    return "";
}

}  // namespace

void Reporter::report(Level level, std::string text) {
    queue_.push_back(fixedText(prefixOf(level)) + text);
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
    for (const std::string& line : queue_) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
    }
    queue_.clear();
    std::fflush(out);
    if (highestLevel_ > Level::Warning) throw RunEnded{kFailureStatus};
    highestLevel_ = Level::Info;
}

}  // namespace kolt
