// Whole runs of the solver on networks far larger than the examples: 10,000
// stations solve, with transitions to nearby stations or to any (how fast is
// measured in bench/, not here), and a recursion
// whose table cannot be had in the memory the process may use is refused
// with the message naming ADP.
#include <gtest/gtest.h>

#include <string>

#include "bench/network_generator.h"
#include "common/cp1250.h"
#include "tests/solver/address_sanitizer.h"
#include "tests/solver/captured_console.h"
#include "tests/solver/solver_process.h"

namespace kolt::testing {
namespace {

class LargeNetwork : public ScratchDirectoryTest {
  protected:
    SolverRun solve(const std::string& text, const std::string& method, long long addressSpace = 0) {
        return runAsWorkbench(dir_, text, method, addressSpace);
    }
    std::string diagnostics() const { return cp1250ToUtf8(readBytes(dir_ / "siec.err")); }
    std::string results() const { return readBytes(dir_ / "siec.wnk"); }
};

// reach 0: random transitions to stations anywhere, whose LU would fill in.
std::string tenThousandStations(bench::NetworkFamily family, int reach = 50) {
    bench::NetworkShape shape;
    shape.family = family;
    shape.stations = 10000;
    shape.population = {20};
    shape.reach = reach;
    return bench::generateNetwork(shape);
}

TEST_F(LargeNetwork, TenThousandStationsSolveUnderJacksonDiffusionAndExactMva) {
    const struct {
        bench::NetworkFamily family;
        const char* method;
        int reach;
    } runs[] = {{bench::NetworkFamily::Jackson, "JACKSON", 50}, {bench::NetworkFamily::Diffusion, "DIFF", 50},
                {bench::NetworkFamily::ExactMva, "MVA", 50},    {bench::NetworkFamily::Jackson, "JACKSON", 0},
                {bench::NetworkFamily::Diffusion, "DIFF", 0},   {bench::NetworkFamily::ExactMva, "MVA", 0}};
    for (const auto& run : runs) {
        const SolverRun done = solve(tenThousandStations(run.family, run.reach), run.method);
        EXPECT_EQ(done.status, 0) << run.method << "\n" << diagnostics();
        // The all-classes block names every station.
        EXPECT_NE(results().find("#10000>\"S10000\"\t"), std::string::npos) << run.method;
    }
}

// Ten stations, classes of 2, 3000 and 3000: a queue table of 9 million rows
// of 10 doubles, 720 MB, in an address space capped at 300 MB.
TEST_F(LargeNetwork, QueueTableBeyondTheAddressSpaceIsRefusedNamingAdp) {
#ifdef KOLT_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves far more address space than the cap";
#else
    const SolverRun run = solve(bench::ringBenchmarkNetwork(10, {2, 3000, 3000}), "MVA", 300LL << 20);
    EXPECT_EQ(run.status, 50);
    EXPECT_TRUE(hasLine(diagnostics(), fatalLine("Blad allokacji pamięci (ADP)")));
#endif
}

}  // namespace
}  // namespace kolt::testing
