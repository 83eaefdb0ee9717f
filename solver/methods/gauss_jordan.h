// Dense elimination shared by the open-network methods: the traffic
// equations of JACKSON and DIFF and the variability system of DIFF.
#pragma once

namespace kolt::methods {

// Gauss-Jordan elimination without pivoting of the n x (n+1) system A (by
// columns, the right-hand side last), in place: the solution ends in the
// last column. False on an exactly zero pivot.
bool eliminateGaussJordan(int n, double* A);

}  // namespace kolt::methods
