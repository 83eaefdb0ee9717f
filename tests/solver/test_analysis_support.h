// Networks built through the model API for the analysis tests, reporting to
// a captured console.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/presentation_module.h"
#include "solver/model/network.h"
#include "solver/model/station.h"
#include "tests/solver/captured_console.h"

namespace kolt::testing {

class AnalysisTest : public ::testing::Test {
  protected:
    int addClass(const std::string& name, int customers) {
        const int index = net_.addClass(name);
        net_.setCustomers(index, customers);
        return index;
    }
    Station& station(const std::string& name, SchedulingKind kind) {
        auto* s = static_cast<Station*>(net_.createObject(kStationType, name));
        s->setDiscipline(kind);
        return *s;
    }
    Station& source(const std::string& name) { return *static_cast<Station*>(net_.createObject(kSourceType, name)); }
    NetObject& exit() { return *net_.createObject(kExitType, "OUT"); }
    void route(NetObject& from, int classIndex, NetObject& to, double p) {
        ASSERT_TRUE(from.routing()->addTransition(classIndex, &to, p, reporter_));
    }

    // Everything written so far to standard error / standard output, as UTF-8.
    std::string err() const { return console_.err(); }
    std::string out() const { return console_.out(); }
    // The raw Windows-1250 bytes of standard output.
    std::string outBytes() const { return console_.outBytes(); }

    // Runs `step`; true when it ended the run (a flush after an error or a
    // Fatal report).
    template <typename Step>
    bool endsRun(Step step) {
        try {
            step();
        } catch (const RunEnded& ended) {
            EXPECT_EQ(ended.status, kFailureStatus);
            return true;
        }
        return false;
    }

    CapturedConsole console_;
    Reporter& reporter_ = console_.reporter();
    Network net_{"Siec", reporter_};
};

// Number of non-overlapping occurrences of `needle` in `text`.
inline int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
    return count;
}

}  // namespace kolt::testing
