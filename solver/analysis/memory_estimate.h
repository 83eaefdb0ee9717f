// The memory estimate printed before the arrays are built. The estimates are
// only printed, so they are computed exactly, in decimal, whatever their
// size: four classes of 300 customers already pass 2^32 bytes, and the exact
// recursion's product of populations can pass 2^64.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolt {

// Bytes needed by the closed methods, in decimal: M*(28R + 36) + 8*(R + 2L + X)
// + 4, with L = M * (K_1+1) * ... * (K_R+1) for MVA and MVAP and 2*R*R*M for
// HMVA, raised to (R+1)*(M+1)^2 when smaller; X = R for MVA and MVAP and
// X = 2*M*R for HMVA. Populations must not be negative. The figure is what
// users have always been shown; what is allocated is sized by the method's
// real needs (closed_preparation.h).
std::string closedMemoryEstimate(int methodIndex, int M, int R, const std::vector<int>& K);

// Bytes needed by JACKSON, in decimal: ((8*R*M + 60)*R + 44)*M.
std::string jacksonMemoryEstimate(int M, int R);

// Bytes needed by DIFF, in decimal: 4*M*((4*R*M + 21)*R + 10*M + 18).
std::string diffusionMemoryEstimate(int M, int R);

}  // namespace kolt
