#include "solver/analysis/memory_estimate.h"

#include "solver/analysis/array_sizes.h"
#include "solver/frontend/method_table.h"

namespace kolt {
namespace {

using Size = std::int64_t;

Size mul(Size a, Size b) { return saturatingMultiply(a, b); }
Size add(Size a, Size b) { return saturatingAdd(a, b); }

}  // namespace

Size adpLength(int methodIndex, int M, int R, const std::vector<int>& K) {
    Size length = 0;
    if (methodIndex == kHmva) {
        length = mul(mul(mul(2, R), R), M);
    } else {
        length = M;
        for (int r = 0; r < R; ++r) length = mul(length, add(K[r], 1));
    }
    const Size routingRoom = mul(R + 1, mul(M + 1, M + 1));
    return length < routingRoom ? routingRoom : length;
}

Size closedMemoryEstimate(int methodIndex, int M, int R, Size L) {
    const Size X = methodIndex == kHmva ? mul(mul(2, M), R) : R;
    const Size perStation = mul(M, add(mul(28, R), 36));
    const Size reals = mul(8, add(add(R, mul(2, L)), X));
    return add(add(perStation, reals), 4);
}

Size jacksonMemoryEstimate(int M, int R) {
    const Size RM = mul(R, M);
    return mul(add(mul(add(mul(8, RM), 60), R), 44), M);
}

Size diffusionMemoryEstimate(int M, int R) {
    const Size RM = mul(R, M);
    const Size inner = add(add(mul(add(mul(4, RM), 21), R), mul(10, M)), 18);
    return mul(mul(4, M), inner);
}

}  // namespace kolt
