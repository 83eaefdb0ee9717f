// Codes that the analysis and the numerical routines exchange through the
// integer arrays and outcome words: station types in TYPE and the failure
// values of the methods. The values are stored and printed as they are.
#pragma once

namespace kolt::methods {

// TYPE of a station for the closed-network methods (MVA, MVAP, HMVA). LIFO
// has a code but no method admits it.
enum ClosedStationType : int {
    kClosedFifo = 1,
    kClosedPs = 2,
    kClosedLifoPr = 3,
    kClosedIs = 4,        // delay station: no queue
    kClosedPriorPr = 5,   // preemptive priority
    kClosedPriorHol = 6,  // head-of-line priority: one head-of-line column in the queue table
    kClosedLifo = 7,
};

// The stations the priority approximation treats inside the exact recursion.
constexpr bool isPriorityStation(int type) { return type == kClosedPriorPr || type == kClosedPriorHol; }

// TYPE of a station for JACKSON: the delay station is told apart, the others
// are single servers.
enum JacksonStationType : int {
    kJacksonIs = 1,
    kJacksonLifoPr = 2,
    kJacksonPs = 3,
    kJacksonFifo = 4,
};

// Values of the closed-network failure flag: 1 for a network the method
// cannot solve (routing not strongly connected, a failed priority step);
// the priority approximation's limits are told apart so that the user learns
// which limit the network exceeds.
enum ClosedFailure : int { kClosedNetworkFailed = 1, kPriorityStationLimit = 2, kPriorityTableLimit = 3 };

// Failure codes of the open-network methods, as the driver words them; each
// but kImproperTopology goes with the number of the station concerned.
enum OpenFailure : int {
    kInfiniteServiceTime = 25,
    kZeroUtilisation = 26,
    kZeroThroughput = 28,
    kZeroQueueLength = 29,
    kOverloaded = 30,
    kImproperTopology = 33,
};

}  // namespace kolt::methods
