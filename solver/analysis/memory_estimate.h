// Length of ADP and the memory estimate printed before the arrays are built.
//
// L is a saturating 64-bit size (array_sizes.h): a length that does not fit
// stays at kSaturatedSize and is refused by the allocation. The estimates are
// only printed, so they are computed exactly, in decimal, whatever their
// size: four classes of 300 customers already pass 2^32 bytes, and the exact
// recursion's product of populations can pass 2^64.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolt {

// Length L of ADP for the closed methods:
//   MVA, MVAP: M * (K_1+1) * ... * (K_R+1)   (one queue-table column per station
//              over every population of the classes)
//   HMVA:      2 * R * R * M                 (correction terms and reduced queues)
// raised in both cases to (R+1) * (M+1)^2, the room of the full routing
// matrices that are compacted in place.
std::int64_t adpLength(int methodIndex, int M, int R, const std::vector<int>& K);

// Bytes needed by the closed methods, in decimal: M*(28R + 36) + 8*(R + 2L + X)
// + 4 with L as above (unsaturated), X = R for MVA and MVAP and X = 2*M*R for
// HMVA. Populations must not be negative.
std::string closedMemoryEstimate(int methodIndex, int M, int R, const std::vector<int>& K);

// Bytes needed by JACKSON, in decimal: ((8*R*M + 60)*R + 44)*M.
std::string jacksonMemoryEstimate(int M, int R);

// Bytes needed by DIFF, in decimal: 4*M*((4*R*M + 21)*R + 10*M + 18).
std::string diffusionMemoryEstimate(int M, int R);

}  // namespace kolt
