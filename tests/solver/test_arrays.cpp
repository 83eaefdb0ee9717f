// The solver arrays built from a network: ADP length and memory estimate in
// 64 bits, the compacted routing blocks, the open traffic matrix with the
// external rates, and the refusal of arrays that cannot be allocated.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "solver/analysis/admissibility.h"
#include "solver/analysis/array_sizes.h"
#include "solver/analysis/closed_preparation.h"
#include "solver/analysis/memory_estimate.h"
#include "solver/analysis/open_preparation.h"
#include "solver/core/method_table.h"
#include "solver/core/text.h"
#include "test_analysis_support.h"
#include "tests/solver/address_sanitizer.h"

namespace kolt::testing {
namespace {

class Arrays : public AnalysisTest {
  protected:
    bool prepare(int method) {
        context_.methodIndex = method;
        return endsRun([&] {
            buildObjectTables(net_, context_, reporter_);
            // The driver opens the estimate's line; the preparation ends it.
            writeFixed(console_.errFile(), "Ilość potrzebnej pamięci: ");
            if (method == kJackson || method == kDiff)
                prepareOpenNetwork(net_, context_, reporter_);
            else
                prepareClosedNetwork(net_, context_, reporter_);
            reporter_.flush(Target::Err);
        });
    }
    // Element (class r, station s) of a class-by-station array.
    template <typename T>
    T at(const std::vector<T>& a, int r, int s) const {
        return a[static_cast<std::size_t>(s) * context_.R + r];
    }
    // A ring of FIFO stations visited by class r in the given order.
    void ring(int r, const std::vector<Station*>& order) {
        for (std::size_t i = 0; i < order.size(); ++i) route(*order[i], r, *order[(i + 1) % order.size()], 1.0);
    }

    AnalysisContext context_;
};

TEST(ArraySizes, SaturateInsteadOfWrapping) {
    EXPECT_EQ(saturatingMultiply(1LL << 40, 1LL << 30), kSaturatedSize);
    EXPECT_EQ(saturatingMultiply(kSaturatedSize, 1), kSaturatedSize);
    EXPECT_EQ(saturatingAdd(kSaturatedSize - 1, 5), kSaturatedSize);
    EXPECT_EQ(saturatingMultiply(3, 7), 21);
    EXPECT_FALSE(allocatable(-1, 8));
    EXPECT_FALSE(allocatable(kSaturatedSize / 4, 8)) << "byte size overflows";
    EXPECT_FALSE(allocatable(1LL << 50, 8)) << "beyond physical memory";
    EXPECT_TRUE(allocatable(1000, 8));
}

// Memory the system refuses (std::bad_alloc) rather than a size refused
// beforehand: the address space of a child process is capped just above what
// it uses, and a request below the physical memory then fails.
[[noreturn, maybe_unused]] void allocateBeyondACappedAddressSpace() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGE_SIZE) + (64 << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    Reporter reporter({stdout, stderr});
    std::vector<double> array;
    try {
        allocateArray(array, (256LL << 20) / 8, " (ADP)", reporter);  // 256 MiB
    } catch (const RunEnded& ended) {
        std::exit(ended.status);
    }
    std::exit(0);
}

TEST(ArraySizes, RefusedMemoryIsTheFatalMessageNamingTheArray) {
#ifdef KOLT_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves its own address space and aborts instead of throwing";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(allocateBeyondACappedAddressSpace(), ::testing::ExitedWithCode(kFailureStatus),
                "Blad allokacji pami.* \\(ADP\\)");
#endif
}

TEST_F(Arrays, MemoryEstimateOfOneClassOfTwoAtThreeStations) {
    addClass("Klienci", 2);
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Ps);
    Station& c = station("C", SchedulingKind::Is);
    for (Station* s : {&a, &b, &c}) s->setExp(0, 1.0);
    ring(0, {&a, &b, &c});
    ASSERT_FALSE(prepare(kMva)) << err();
    // The estimate counts L = max(3*3, 2*4*4) = 32; what is allocated is the
    // routing block, (3+1)^2, longer than the queue table of 3 columns.
    EXPECT_TRUE(hasLine(err(), "Ilość potrzebnej pamięci: 724 bajtów"));
    EXPECT_EQ(context_.L, 16);
    EXPECT_EQ(context_.ADP.size(), 16u);
    EXPECT_EQ(context_.TYPE, (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(context_.K, (std::vector<int>{2}));
    EXPECT_EQ(context_.LAMBDA.size(), 1u);
    EXPECT_EQ(context_.N.size(), 3u);
}

TEST_F(Arrays, HmvaSizesItsOwnArraysAndTheStationTotals) {
    addClass("A", 1);
    addClass("B", 1);
    Station& x = station("X", SchedulingKind::Fifo);
    Station& y = station("Y", SchedulingKind::LifoPr);
    for (int r = 0; r < 2; ++r) {
        x.setExp(r, 1.0);
        y.setExp(r, 1.0);
        ring(r, {&x, &y});
    }
    ASSERT_FALSE(prepare(kHmva)) << err();
    EXPECT_EQ(context_.L, 18);  // two 3 x 3 routing blocks, more than 2*2*2*2 correction terms
    EXPECT_EQ(context_.N.size(), 4u);
    EXPECT_EQ(context_.LAMBDA.size(), 4u);
    EXPECT_EQ(context_.NTOTAL.size(), 2u);
    // 2*(56+36) + 8*(2 + 54 + 8) + 4
    EXPECT_TRUE(hasLine(err(), "Ilość potrzebnej pamięci: 700 bajtów"));
    EXPECT_EQ(context_.TYPE, (std::vector<int>{1, 3}));
}

TEST_F(Arrays, ClassVisitingTwoOfFiveStationsGetsAThreeByThreeBlock) {
    addClass("Wszedzie", 1);
    addClass("Rzadko", 1);
    std::vector<Station*> s;
    for (const char* name : {"S1", "S2", "S3", "S4", "S5"}) {
        s.push_back(&station(name, SchedulingKind::Fifo));
        s.back()->setExp(0, 1.0);
    }
    s[1]->setExp(1, 2.0);
    s[3]->setExp(1, 3.0);
    ring(0, s);
    route(*s[1], 1, *s[3], 1.0);
    route(*s[3], 1, *s[1], 0.25);
    route(*s[3], 1, *s[3], 0.75);
    ASSERT_FALSE(prepare(kMva)) << err();

    EXPECT_EQ(context_.SN, (std::vector<int>{5, 2}));
    EXPECT_EQ(context_.INDEX, (std::vector<int>{1, 1 + 36, 1 + 36 + 9}));
    // Class 0's block: 6 x 6 by columns, element (i, i+1) is 1.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(context_.ADP[i + 6 * ((i + 1) % 5)], 1.0) << i;
    // Class 1's block: (S2, S4) are its stations 0 and 1.
    const double* block = &context_.ADP[context_.INDEX[1] - 1];
    EXPECT_EQ(block[0 + 3 * 0], 0.0);   // S2 -> S2
    EXPECT_EQ(block[0 + 3 * 1], 1.0);   // S2 -> S4
    EXPECT_EQ(block[1 + 3 * 0], 0.25);  // S4 -> S2
    EXPECT_EQ(block[1 + 3 * 1], 0.75);  // S4 -> S4
    EXPECT_EQ(at(context_.SR, 1, 0), 0);
    EXPECT_EQ(at(context_.SR, 1, 1), 1);
    EXPECT_EQ(at(context_.TAU, 1, 3), 3.0);
    EXPECT_EQ(at(context_.TAU, 1, 0), 0.0) << "no distribution: service time 0";
}

TEST_F(Arrays, FourClassesOfThreeThousandOverflowThirtyTwoBitsAndAreRefusedCleanly) {
    for (int r = 0; r < 4; ++r) addClass("K" + std::to_string(r), 3000);
    std::vector<Station*> s;
    for (const char* name : {"A", "B", "C"}) s.push_back(&station(name, SchedulingKind::Fifo));
    for (int r = 0; r < 4; ++r) {
        for (Station* st : s) st->setExp(r, 1.0);
        ring(r, s);
    }
    EXPECT_TRUE(prepare(kMva));
    // The estimate counts 3 * 3001^4 doubles; the queue table alone, without
    // class 1's dimension, 3 * 3001^3, is still far more than any memory.
    const std::int64_t L = 3LL * 3001 * 3001 * 3001 * 3001;
    const std::int64_t estimate = 3 * (28 * 4 + 36) + 8 * (4 + 2 * L + 4) + 4;
    EXPECT_TRUE(hasLine(err(), "Ilość potrzebnej pamięci: " + std::to_string(estimate) + " bajtów"));
    EXPECT_TRUE(hasLine(err(), fatalLine("Blad allokacji pamięci (ADP)")));
}

TEST_F(Arrays, SizesBeyondSixtyFourBitsStillPrintTheExactEstimate) {
    // Ten classes of 2000000000 at one station: L = (2000000001)^10, far
    // beyond 64 bits; the estimate 36 + 28*10 + 8*(10 + 2L + 10) + 4 is
    // printed exactly and ADP is refused without an attempt to allocate it.
    for (int r = 0; r < 10; ++r) addClass("K" + std::to_string(r), 2000000000);
    Station& a = station("A", SchedulingKind::Fifo);
    for (int r = 0; r < 10; ++r) {
        a.setExp(r, 1.0);
        route(a, r, a, 1.0);
    }
    EXPECT_TRUE(prepare(kMva));
    EXPECT_EQ(context_.L, kSaturatedSize);
    // 16 * 2000000001^10 + 480, worked out with bc.
    EXPECT_TRUE(hasLine(err(),
                        "Ilość potrzebnej pamięci: "
                        "16384000081920000184320000245760000215040000129024000053760000015360"
                        "000002880000000320000000496 bajtów"));
    EXPECT_TRUE(hasLine(err(), fatalLine("Blad allokacji pamięci (ADP)")));
}

TEST(MemoryEstimate, FormulasOfEveryFamily) {
    EXPECT_EQ(jacksonMemoryEstimate(3, 2), std::to_string(((8 * 2 * 3 + 60) * 2 + 44) * 3));
    EXPECT_EQ(diffusionMemoryEstimate(3, 2), std::to_string(4 * 3 * ((4 * 2 * 3 + 21) * 2 + 10 * 3 + 18)));
    // HMVA: L = max(2*2*2*3, 3*4*4) = 48; 3*(56+36) + 8*(2 + 96 + 12) + 4.
    EXPECT_EQ(closedMemoryEstimate(kHmva, 3, 2, {5, 5}), "1160");
    // MVA with L from the populations: L = 2*4*5 = 40 > 3*3*3 = 27.
    EXPECT_EQ(closedMemoryEstimate(kMva, 2, 2, {3, 4}), std::to_string(2 * (56 + 36) + 8 * (2 + 80 + 2) + 4));
    // Open estimates past 64 bits: 32 classes at 2^31 - 1 stations.
    EXPECT_EQ(jacksonMemoryEstimate(2147483647, 32), "37778931831990447511636");
}

class OpenArrays : public Arrays {
  protected:
    // Two sources feeding class 0 into station B (rates 0.5 and 0.25), a FIFO
    // station A receiving class 0 from B half the time.
    // B serves exponentially for JACKSON, with a general law (v^2 = 0.25)
    // for DIFF.
    void twoSources(double secondMean, double secondVariationSquared, bool generalAtB) {
        addClass("Zgloszenia", 0);
        Station& first = source("Z1");
        Station& second = source("Z2");
        Station& a = station("A", SchedulingKind::Fifo);
        Station& b = station("B", SchedulingKind::Fifo);
        NetObject& out = exit();
        first.setExp(0, 2.0);
        if (secondVariationSquared == 1.0)
            second.setExp(0, secondMean);
        else
            second.setDet(0, secondMean);
        a.setExp(0, 0.5);
        if (generalAtB)
            b.setGen(0, 0.25, 0.5);
        else
            b.setExp(0, 0.25);
        route(first, 0, b, 1.0);
        route(second, 0, b, 1.0);
        route(b, 0, a, 0.5);
        route(b, 0, out, 0.5);
        route(a, 0, out, 1.0);
    }
};

TEST_F(OpenArrays, TrafficMatrixIsTheTransposedRoutingWithMinusTheSummedExternalRates) {
    twoSources(4.0, 1.0, false);
    ASSERT_FALSE(prepare(kJackson)) << err();
    const std::size_t RM = 2;  // one class, two stations
    ASSERT_EQ(context_.BP.size(), RM * (RM + 1));
    EXPECT_EQ(context_.BP[1 * RM + 0], 0.5) << "B -> A sits in row A, column B";
    EXPECT_EQ(context_.BP[0 * RM + 1], 0.0);
    EXPECT_EQ(context_.BP[RM * RM + 0], 0.0) << "no external arrivals at A";
    EXPECT_EQ(context_.BP[RM * RM + 1], -0.75) << "minus both sources' rates at B";
    EXPECT_EQ(context_.TAU, (std::vector<double>{2.0, 4.0})) << "service rates";
    EXPECT_EQ(context_.TYPE, (std::vector<int>{4, 4}));
    EXPECT_EQ(context_.SR, (std::vector<int>{1, 1}));
    EXPECT_TRUE(hasLine(err(), "Ilość potrzebnej pamięci: " + jacksonMemoryEstimate(2, 1) + " bajtów"));
}

TEST_F(OpenArrays, DiffusionMergesSourceVariabilityWeightedByRate) {
    // A Poisson source (term 1) at rate 0.5 and a deterministic one (term 0)
    // at rate 0.25: the merged stream has (0.5*1 + 0.25*0) / 0.75.
    twoSources(4.0, 0.0, true);
    ASSERT_FALSE(prepare(kDiff)) << err();
    EXPECT_DOUBLE_EQ(context_.C0NR2[1], 0.5 / 0.75);
    EXPECT_EQ(context_.C0NR2[0], 0.0);
    EXPECT_DOUBLE_EQ(context_.CBNR2[1], 0.25);
    EXPECT_DOUBLE_EQ(context_.CBNR2[0], 1.0);
    EXPECT_EQ(context_.BP1.size(), context_.BP.size());
    EXPECT_EQ(context_.G.size(), 4u * 5u);
    EXPECT_EQ(context_.RJI.size(), 4u);
}

TEST_F(OpenArrays, SingleSourceKeepsItsSplitStreamVariability) {
    addClass("Zgloszenia", 0);
    Station& in = source("Z");
    Station& a = station("A", SchedulingKind::Fifo);
    Station& b = station("B", SchedulingKind::Fifo);
    NetObject& out = exit();
    in.setGen(0, 1.0, 2.0);  // v^2 = 4
    a.setExp(0, 0.1);
    b.setExp(0, 0.1);
    route(in, 0, a, 0.25);
    route(in, 0, b, 0.75);
    route(a, 0, out, 1.0);
    route(b, 0, out, 1.0);
    ASSERT_FALSE(prepare(kDiff)) << err();
    EXPECT_DOUBLE_EQ(context_.C0NR2[0], 3 * 0.25 + 1);
    EXPECT_DOUBLE_EQ(context_.C0NR2[1], 3 * 0.75 + 1);
    EXPECT_DOUBLE_EQ(context_.BP[4 + 0], -0.25);
    EXPECT_DOUBLE_EQ(context_.BP[4 + 1], -0.75);
}

TEST_F(OpenArrays, SourceClassWithoutInterarrivalTimeMarksVisitsButBringsNoArrivals) {
    addClass("A", 0);
    addClass("B", 0);
    Station& in = source("Z");
    Station& s = station("S", SchedulingKind::Ps);
    NetObject& out = exit();
    in.setExp(0, 1.0);
    s.setExp(0, 0.5);
    s.setExp(1, 0.5);
    route(in, 0, s, 1.0);
    route(in, 1, s, 1.0);
    route(s, 0, out, 1.0);
    route(s, 1, out, 1.0);
    ASSERT_FALSE(prepare(kJackson)) << err();
    EXPECT_EQ(context_.SR, (std::vector<int>{1, 1}));
    EXPECT_EQ(context_.BP[4 + 0], -1.0);
    EXPECT_EQ(context_.BP[4 + 1], 0.0);
    EXPECT_EQ(context_.TYPE, (std::vector<int>{3}));
}

// 32 classes at 5000 stations: a dense traffic matrix would take 200 GB; the
// routing is kept as lists instead, and nothing of that size is allocated.
TEST_F(OpenArrays, LargeNetworkKeepsItsRoutingAsListsInsteadOfADenseMatrix) {
    for (int r = 0; r < 32; ++r) addClass("K" + std::to_string(r), 0);
    std::vector<Station*> s;
    for (int i = 0; i < 5000; ++i) {
        s.push_back(&station("S" + std::to_string(i), SchedulingKind::Fifo));
        s.back()->setExp(0, 1.0);
    }
    NetObject& out = exit();
    route(*s[0], 0, *s[1], 0.5);
    route(*s[0], 0, out, 0.5);
    EXPECT_FALSE(prepare(kJackson)) << err();
    EXPECT_TRUE(context_.openSparse);
    EXPECT_TRUE(context_.BP.empty());
    const methods::OpenRouting& lists = context_.openLists;
    ASSERT_EQ(lists.start.size(), 32u * 5000 + 1);
    ASSERT_EQ(lists.target, (std::vector<int>{32}));  // pair (S1, K0)
    EXPECT_EQ(lists.probability, (std::vector<double>{0.5}));
    EXPECT_EQ(lists.start[1], 1);
    EXPECT_EQ(lists.start.back(), 1);
}

}  // namespace
}  // namespace kolt::testing
