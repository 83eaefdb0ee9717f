// Gauss-Jordan elimination without pivoting.
//
// Assumptions: the systems it is given have a dominant diagonal (I - P of a
// network that customers leave, the variability system), so the pivots stay
// away from 0 in the order of the rows. Cost O(n^3) at most: an update by a
// zero entry of the pivot row or a zero multiplier is skipped, as it would
// subtract an exact 0, which leaves the sparse routing of most networks near
// O(n^2).
//
// Outside the assumptions: an exactly zero pivot is reported; a nearly
// singular system is not detected and gives large or meaningless values.
#include "solver/methods/gauss_jordan.h"

#include <cmath>
#include <vector>

#include "solver/methods/array_index.h"

namespace kolt::methods {

bool eliminateGaussJordan(int n, double* A) {
    auto at = [A, n](int i, int j) -> double& { return A[columnMajor(n, i, j)]; };
    std::vector<int> rows;  // rows other than k with a non-zero multiplier
    rows.reserve(n);
    for (int k = 1; k <= n; ++k) {
        const double pivot = at(k, k);
        if (pivot == 0.0) return false;
        // x - a*0 is x for every finite a, and x - 0*f is x for every finite
        // f: such updates are skipped (an exact zero may then keep the other
        // sign, which no later step and no printed value tells apart). A
        // non-finite value in them (0 * inf is NaN) makes the step run in full.
        rows.clear();
        bool finite = true;
        for (int i = 1; i <= n; ++i) {
            if (i == k) continue;
            const double a = at(i, k);
            if (a != 0.0) rows.push_back(i);
            finite = finite && std::isfinite(a);
        }
        for (int j = k + 1; j <= n + 1; ++j) {
            at(k, j) /= pivot;
            const double f = at(k, j);
            if (finite && std::isfinite(f)) {
                if (f == 0.0) continue;
                for (int i : rows) at(i, j) -= at(i, k) * f;
            } else {
                for (int i = 1; i <= n; ++i)
                    if (i != k) at(i, j) -= at(i, k) * f;
            }
        }
    }
    return true;
}

}  // namespace kolt::methods
