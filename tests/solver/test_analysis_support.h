// Networks built through the model API for the analysis tests, with a
// reporter on temporary files whose contents are read back as UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/cp1250.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/presentation_module.h"
#include "solver/core/reporter.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt::testing {

class AnalysisTest : public ::testing::Test {
protected:
    AnalysisTest() : reporter_({out_, err_}), net_("Siec", reporter_) {}
    ~AnalysisTest() override {
        std::fclose(out_);
        std::fclose(err_);
    }

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
    std::string err() const { return contents(err_); }
    std::string out() const { return contents(out_); }
    // The raw Windows-1250 bytes of standard output.
    std::string outBytes() const { return rawContents(out_); }

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

    std::FILE* out_ = std::tmpfile();
    std::FILE* err_ = std::tmpfile();
    Reporter reporter_;
    Network net_;

private:
    static std::string rawContents(std::FILE* f) {
        std::fflush(f);
        const long at = std::ftell(f);
        std::string bytes;
        std::rewind(f);
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<char>(c));
        std::fseek(f, at, SEEK_SET);
        return bytes;
    }
    static std::string contents(std::FILE* f) { return cp1250ToUtf8(rawContents(f)); }
};

// Number of non-overlapping occurrences of `needle` in `text`.
inline int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
    return count;
}

}  // namespace kolt::testing
