// Length of ADP and the memory estimate printed before the arrays are built.
// All arithmetic saturates at kSaturatedSize (array_sizes.h) instead of
// wrapping, so a model too large for 64 bits prints that value and is then
// refused by the allocation.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt {

// Length L of ADP for the closed methods:
//   MVA, MVAP: M * (K_1+1) * ... * (K_R+1)   (one queue-table column per station
//              over every population of the classes)
//   HMVA:      2 * R * R * M                 (correction terms and reduced queues)
// raised in both cases to (R+1) * (M+1)^2, the room of the full routing
// matrices that are compacted in place.
std::int64_t adpLength(int methodIndex, int M, int R, const std::vector<int>& K);

// Bytes needed by the closed methods: M*(28R + 36) + 8*(R + 2L + X) + 4 with
// X = R for MVA and MVAP and X = 2*M*R for HMVA.
std::int64_t closedMemoryEstimate(int methodIndex, int M, int R, std::int64_t L);

// Bytes needed by JACKSON: ((8*R*M + 60)*R + 44)*M.
std::int64_t jacksonMemoryEstimate(int M, int R);

// Bytes needed by DIFF: 4*M*((4*R*M + 21)*R + 10*M + 18).
std::int64_t diffusionMemoryEstimate(int M, int R);

}  // namespace kolt
