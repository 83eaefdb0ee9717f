// Entry points of the numerical routines. Each works only on the flat arrays
// it is handed: 32-bit integers and doubles, class-by-station arrays stored
// by columns with the class index fastest (element (r, m), 1-based, at
// classStation(R, r, m) = (m-1)*R + r - 1). Failure is reported only through
// the flag or code given (method_codes.h).
#pragma once

#include <cstdint>
#include <cstdio>

#include "solver/methods/method_codes.h"
#include "solver/methods/traffic_equations.h"
#include "solver/methods/visit_ratios.h"

namespace kolt::methods {

// Exact mean value analysis (MVA and MVAP) on the ClosedStationType codes in
// TYPE. `failed` is set to 0 on entry, to kPriorityStationLimit or
// kPriorityTableLimit when the priority tables cannot hold the network
// (before the recursion), and to kClosedNetworkFailed for any other failure.
// K and TAU are restored on every exit. `roLines` receives the utilisation
// diagnostics of the priority approximation. `lists` carries the routing of
// the classes that have no dense block in ADP (null when every class has
// one).
void exactMva(int M, int R, std::int64_t L, int* K, const int* TYPE, const int* SR, double* TAU, const int* SN,
              double* ADP, const int* INDEX, int mode, double* THETA, double* N, double* W, double* LAMBDA, int& failed,
              std::FILE* roLines, const RoutingLists* lists = nullptr);

// Length of the queue table the exact recursion keeps in ADP for the
// populations K (not raised): (M + PRIOR_HOL stations) times the product of
// K(r)+1 over the classes after the first; INT64_MAX when it overflows.
std::int64_t exactMvaQueueTable(int M, int R, const int* K, const int* TYPE);

// Approximate MVA with correction terms (HMVA). On return N(r,m) holds the
// throughput of class r at station m and LAMBDA(r,m) its mean number.
void approximateMva(int M, int R, std::int64_t L, int* K, const int* TYPE, const int* SR, double* TAU, const int* SN,
                    double* ADP, const int* INDEX, int mode, double* THETA, double* LAMBDA, double* W, double* N,
                    int& failed, const RoutingLists* lists = nullptr);

// Open product-form network (JACKSON) on the JacksonStationType codes in
// TYPE. `code` 0 and `station` M+1 on success, otherwise an OpenFailure.
// With `lists` (the routing of a network too large for a dense traffic
// matrix) BP is not used and may be null.
void jackson(int M, int R, const int* TYPE, double* BP, double* LAMBN, double* OBCN, double* ENKN, double* ENTN,
             double* LMBNR, double* OBCNR, double* ENRKNR, double* ENRTNR, double* MIN, const double* TAU, int& code,
             int& station, const OpenRouting* lists = nullptr);

// Diffusion approximation for open networks (DIFF). With `lists`, BP, BP1,
// RJI and G are not used and may be null.
void diffusion(int M, int R, double* BP, double* BP1, double* LAMBN, double* OBCN, double* ENKN, double* ENTN,
               double* LMBNR, double* OBCNR, double* ENRKNR, double* ENRTNR, double* MIN, const double* TAU,
               double* CBN2, const double* CBNR2, const double* C0NR2, double* RJI, double* G, double* CAN2, int& code,
               int& station, double& work, const OpenRouting* lists = nullptr);

}  // namespace kolt::methods
