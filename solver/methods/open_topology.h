// Whether the customers of an open network can always leave it.
#pragma once

#include "solver/methods/traffic_equations.h"

namespace kolt::methods {

// BP as the traffic equations take it: RM x (RM+1) by columns, BP(i, j) the
// probability that a customer of pair j goes next to pair i. True when from
// every pair some path of positive probabilities leads to a pair that sends
// part of its customers out of the network (its column sums to less than
// 1). Otherwise customers caught in a loop never leave, the traffic
// equations have no solution, and rounding would only hide the zero pivot.
bool everyCustomerCanLeave(int RM, const double* BP);

// The same from routing lists (a network too large for a dense BP); cost
// linear in the transitions.
bool everyCustomerCanLeave(int RM, const OpenRouting& lists);

}  // namespace kolt::methods
