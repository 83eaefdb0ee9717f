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

void Reporter::report(Level level, std::string_view text) {
    queue_ += prefixOf(level);
    queue_ += text;
    queue_ += '\n';
    ++queuedLines_;
    if (level > highestLevel_) highestLevel_ = level;
    if (level == Level::Fatal) flush(Target::Err);
}

void Reporter::reportInfo(std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) queue_ += piece;
    queue_ += '\n';
    ++queuedLines_;
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
    std::fwrite(queue_.data(), 1, queue_.size(), stream(target));
    queue_.clear();
    queuedLines_ = 0;
}

}  // namespace kolt
