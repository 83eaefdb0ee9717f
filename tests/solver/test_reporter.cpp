// The message channel: line format, flush points and the end of the run.
#include <gtest/gtest.h>

#include <string>

#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "tests/solver/captured_console.h"

namespace kolt {
namespace {

class ReporterTest : public ::testing::Test {
  protected:
    bool flushEndsRun(Target target) {
        try {
            reporter_.flush(target);
        } catch (const RunEnded& ended) {
            EXPECT_EQ(ended.status, 50);
            return true;
        }
        return false;
    }

    testing::CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
};

TEST_F(ReporterTest, EmptyFlushWritesOneEmptyLine) {
    EXPECT_FALSE(flushEndsRun(Target::Out));
    EXPECT_EQ(console_.outBytes(), "\n");
    EXPECT_EQ(console_.errBytes(), "");
}

TEST_F(ReporterTest, WarningsAreWrittenInOrderAndTheRunGoesOn) {
    reporter_.report(Level::Warning, "a");
    reporter_.reportAt(Level::Warning, 12, 5, "b");
    reporter_.report(Level::Info, "c%s");
    EXPECT_TRUE(reporter_.noErrorSoFar());
    EXPECT_FALSE(flushEndsRun(Target::Err));
    EXPECT_EQ(console_.err(), "\nOSTRZEŻENIE:  a\nOSTRZEŻENIE:  (12,5) b\nc%s\n");
    EXPECT_EQ(reporter_.highestLevel(), Level::Info);
    EXPECT_EQ(reporter_.queued(), 0u);
}

TEST_F(ReporterTest, AnErrorAmongWarningsEndsTheRunAtTheFlushWithEveryLineWritten) {
    reporter_.report(Level::Warning, "a");
    reporter_.reportAt(Level::Error, 3, 0, "b");
    EXPECT_FALSE(reporter_.noErrorSoFar());
    reporter_.report(Level::Warning, "c");
    EXPECT_TRUE(flushEndsRun(Target::Err));
    EXPECT_EQ(console_.err(), "\nOSTRZEŻENIE:  a\nBŁĄD:         (3,0) b\nOSTRZEŻENIE:  c\n");
}

TEST_F(ReporterTest, FatalWritesWhatWasQueuedAndEndsAtOnceOnStandardError) {
    reporter_.report(Level::Warning, "a");
    reporter_.report(Level::Warning, "b");
    bool ended = false;
    try {
        reporter_.report(Level::Fatal, "c");
    } catch (const RunEnded& end) {
        ended = end.status == 50;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(console_.errBytes(), fixedText("\nOSTRZEŻENIE:  a\nOSTRZEŻENIE:  b\nBŁĄD FATALNY: c\n"));
    EXPECT_EQ(console_.outBytes(), "");
}

TEST_F(ReporterTest, LongMessagesAndUserBytesStayWhole) {
    const std::string token(2000, 'x');
    reporter_.report(Level::Info, formatText("Nazwa %s", (token + " \xB9").c_str()));
    flushEndsRun(Target::Out);
    EXPECT_EQ(console_.outBytes(), "\nNazwa " + token + " \xB9\n");
}

}  // namespace
}  // namespace kolt
