// Turning the methods' output arrays into the result tables. Each derivation
// initialises the PresentationModule and fills, for every station, the four
// measures per class and for all classes together (-1), for the station
// (column 0) and, where the station has a queue, for the queue (column 1).
#pragma once

namespace kolt {

class Network;
class PresentationModule;
class Reporter;
struct AnalysisContext;

// Initialises `results` from the network and the context; tables that
// cannot be allocated are the Fatal "Blad allokacji pamięci (Modul
// prezentacyjny)", which ends the run.
void initResults(const Network& network, const AnalysisContext& context, PresentationModule& results,
                 Reporter& reporter);

// MVA, MVAP, HMVA. Per class r visiting station s (element x = s*R + r):
//   X = LAMBDA[r]*THETA[x]  (HMVA: N[x], the class throughput there)
//   Q = W[x]*X (Little's law), U = TAU[x]*X (utilisation law)
//   station: time W[x], number Q, utilisation U (none at IS), throughput X
//   queue (not at PS, IS): time W[x] - TAU[x], number Q - U, throughput X
// Station totals with the throughput shares f_r = X_r / Xs:
//   number N[s] (HMVA: sum of Q), time T = sum f_r*W, utilisation Us = sum U,
//   throughput Xs; queue time T - sum f_r*TAU, number total - Us.
// HMVA and MVAP only, as the approximations can overshoot: a utilisation above 1.01
// outside an IS station is the Error "Przeciazenie stanowiska" (per class) or
// "Przeciazenie stanowisk w sieci" (station total) and is shown as computed;
// one in (1, 1.01] is clamped to 1.
void deriveClosedResults(const Network& network, AnalysisContext& context, PresentationModule& results,
                         Reporter& reporter);

// JACKSON: cells straight from ENRTNR, ENRKNR, OBCNR, LMBNR (classes) and
// ENTN, ENKN, OBCN, LAMBN (totals); the queue time is the response time
// minus the mean service time 1/TAU (totals: 1/MIN), the queue number the
// mean number minus the utilisation. IS stations have no utilisation, IS and
// PS stations no queue.
void deriveJacksonResults(const Network& network, AnalysisContext& context, PresentationModule& results,
                          Reporter& reporter);

// DIFF: as JACKSON with every station a FIFO queue; the queue utilisation of
// the station total is the probability that an arrival waits, 1 - p0 - p1,
// with p0 = 1 - rho and p1 from the diffusion approximation of the queue
// length: p1 = rho*(1 - e^gamma), gamma = 2*(lambda - mu)/(lambda*ca2 + mu*cb2),
// and p1 = rho when ca2 + cb2 = 0 (deterministic arrivals and service never
// wait below saturation).
void deriveDiffusionResults(const Network& network, AnalysisContext& context, PresentationModule& results,
                            Reporter& reporter);

// After any derivation: every cell of `results` must be a finite number. Each
// station and class (or station total) with an infinite or undefined cell is
// the Error "Wynik nieokreślony (przepełnienie) dla stanowiska NAME" (with
// ", klasa CLASS" for a class), and the run ends at the flush that follows,
// before anything is printed.
void checkResultsDefined(const Network& network, const AnalysisContext& context, const PresentationModule& results,
                         Reporter& reporter);

// The waiting probability above for one station.
double waitingProbability(double rho, double lambda, double mu, double ca2, double cb2);

}  // namespace kolt
