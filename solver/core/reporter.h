// The solver's single message channel.
//
// Stages queue their messages here; the queue is written at fixed points of
// the run (flush). A flush that finds an Error or Fatal reported since the
// previous flush ends the run with status 50: it throws RunEnded, which only
// the entry function catches. A Fatal report flushes to standard error at
// once and so ends the run immediately.
#pragma once

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kolt {

enum class Level { Info = 0, Warning = 1, Error = 2, Fatal = 3 };

// Thrown to end the run with the given exit status; caught by the entry.
struct RunEnded {
    int status;
};

constexpr int kFailureStatus = 50;

// The two standard streams of the run (redirected to files in WINKOLT mode).
struct Console {
    std::FILE* out;
    std::FILE* err;
};

enum class Target { Out, Err };

class Reporter {
  public:
    explicit Reporter(Console console) : console_(console) {}

    // Queues prefix + text; text is already in Windows-1250.
    void report(Level level, std::string_view text);
    // Queues an Info line made of these pieces one after another (the network
    // dump's lines, put together where they are queued).
    void reportInfo(std::initializer_list<std::string_view> pieces);
    // Queues "(line,column) text" after the prefix.
    void reportAt(Level level, int line, int column, const std::string& text);

    // Writes an empty line and the queue, empties it, and ends the run when an
    // Error or Fatal was reported since the previous flush.
    void flush(Target target);
    // Writes the queued lines and empties the queue, without the empty line
    // before them and without ending the run: a long list of Info lines (the
    // network dump) is written as it is made instead of held whole.
    void writeQueued(Target target);

    bool noErrorSoFar() const { return highestLevel_ <= Level::Warning; }
    Level highestLevel() const { return highestLevel_; }
    std::size_t queued() const { return queuedLines_; }
    // Bytes the queued lines take, line ends included.
    std::size_t queuedBytes() const { return queue_.size(); }

    Console console() const { return console_; }
    std::FILE* stream(Target target) const { return target == Target::Out ? console_.out : console_.err; }

  private:
    Console console_;
    // The queued lines as they will be written, each ended by '\n': written
    // with one call, so that an unbuffered stream (the files of WINKOLT mode)
    // takes a whole flush in one system call rather than two for every line.
    std::string queue_;
    std::size_t queuedLines_ = 0;
    Level highestLevel_ = Level::Info;
};

}  // namespace kolt
