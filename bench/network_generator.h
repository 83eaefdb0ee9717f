// Network definition files made to measure: rings of stations with a few
// random transitions each, closed or open, for the benchmarks, the
// comparison script and the tests that need a large network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolt::bench {

// Which method family the network is made for; it decides the disciplines
// and distributions drawn.
enum class NetworkFamily {
    ExactMva,  // closed: FIFO, PS, LIFO-PR, IS; exponential service
    Priority,  // closed: also PRIOR and PRIOR-PR
    Hmva,      // closed: as ExactMva, several distributions
    Jackson,   // open: FIFO, PS, LIFO-PR, IS; EXP and COX
    Diffusion  // open: FIFO; every distribution
};

struct NetworkShape {
    NetworkFamily family = NetworkFamily::ExactMva;
    int stations = 10;
    std::vector<int> population = {5};  // one entry per class; ignored for open families
    int openClasses = 1;                // classes of an open network
    int fanOut = 3;                     // transitions per station and class, ring successor included
    bool ring = false;                  // only the ring: no random transitions
    int reach = 0;                      // random targets at most this far along the ring (0: anywhere)
    std::uint32_t seed = 1;
    bool comments = false;  // a comment line per station, as hand-written files have
};

// The text of a network definition file (ASCII, LF line ends). Every class
// of a closed network visits every station in a ring plus random shortcuts,
// so its routing is strongly connected; an open network's customers leave
// through OUT with probability 1/4 at each station. Probabilities are
// multiples of 1/16, so each TRANSIT list sums to exactly 1.
std::string generateNetwork(const NetworkShape& shape);

// The exact MVA benchmark network: every class visits the M stations in a
// ring, station 1 a delay station (IS), the others FIFO and PS in turn, with
// the service time below. The bare loop solves the same network from these
// demands (every visit ratio is 1 on a ring).
std::string ringBenchmarkNetwork(int stations, const std::vector<int>& population);
double ringBenchmarkServiceTime(int r, int m);  // class r, station m, both from 0
bool ringBenchmarkDelayStation(int m);

}  // namespace kolt::bench
