// The analysis driver's per-run state: the station and source tables and the
// flat solver arrays handed to the numerical routines.
//
// Class-by-station arrays (R rows, M columns) are stored by columns with the
// class index fastest: element (class r, station s), both counted from 0, is
// at s*R + r. Every array is sized once per run and lives to its end. Which
// arrays exist depends on the method family:
//   closed (MVA, MVAP, HMVA): K, TYPE, INDEX, SR, SN, TAU (mean service time),
//     THETA, W, N, LAMBDA, ADP, and for HMVA also NTOTAL; ADP holds what the
//     method uses (the routing blocks, then the queue table without class 1's
//     dimension or HMVA's correction terms), not the length the printed
//     estimate counts;
//   open (JACKSON, DIFF): LAMBN, OBCN, ENKN, ENTN, MIN, LMBNR, OBCNR, ENRKNR,
//     ENRTNR, TAU (service rate), THETA, BP, SR, and TYPE for JACKSON, or BP1,
//     CBNR2, CBN2, C0NR2, RJI, G, CAN2 for DIFF;
//   simulation (SIMUL): SR and the simulator's own model and results.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/analysis/array_sizes.h"
#include "solver/methods/simulation/simulation.h"
#include "solver/methods/traffic_equations.h"
#include "solver/methods/visit_ratios.h"

namespace kolt {

class Station;

struct AnalysisContext {
    int methodIndex = 0;

    // Stations and sources in registry order; a station's index here is its
    // number everywhere in the analysis (from 1 in the results file).
    std::vector<const Station*> stations;
    std::vector<const Station*> sources;

    int M = 0;           // stations
    int R = 0;           // classes
    int S = 0;           // sources
    std::int64_t L = 0;  // length of ADP

    // Closed-network arrays.
    std::vector<int> K;                 // R: class populations
    std::vector<int> TYPE;              // M: station type code (closed or Jackson codes)
    std::vector<int> INDEX;             // R+1: 1-based start of each class's routing block in ADP
    std::vector<int> SR;                // R x M: 1 where the class visits the station
    std::vector<int> SN;                // R: stations visited per class
    std::vector<double> TAU;            // R x M: mean service time (closed) or service rate (open)
    std::vector<double> THETA;          // R x M: visit ratios
    std::vector<double> W;              // R x M: mean response time per visit
    std::vector<double> N;              // M (MVA, MVAP) or R x M (HMVA: class throughput)
    std::vector<double> LAMBDA;         // R (MVA, MVAP: class throughput) or R x M (HMVA: class mean number)
    Workspace ADP;                      // L: routing blocks (zeroed), then the method's workspace (left unset)
    methods::RoutingLists closedLists;  // routing of the classes too large for a block in ADP
    std::vector<double> NTOTAL;         // M, HMVA only: mean number of customers per station, summed over classes

    // Open-network arrays.
    std::vector<double> LAMBN, OBCN, ENKN, ENTN, MIN;  // M: per-station results
    std::vector<double> LMBNR, OBCNR, ENRKNR, ENRTNR;  // R x M: per-class results
    std::vector<double> BP;     // (R*M) x (R*M+1): transposed routing, minus the external rates last
    std::vector<double> BP1;    // DIFF workspace, same shape as BP
    std::vector<double> CBNR2;  // R x M: squared service-time variation
    std::vector<double> CBN2;   // M
    std::vector<double> C0NR2;  // R x M: variability of the external arrivals
    std::vector<double> RJI;    // M x M
    std::vector<double> G;      // 2M x (2M+1)
    std::vector<double> CAN2;   // M
    // A network whose largest system exceeds the sparse threshold has its
    // routing as lists here instead of BP (and BP1, RJI, G stay empty).
    bool openSparse = false;
    methods::OpenRouting openLists;

    // SIMUL: the network as the simulator takes it, its run control and its
    // estimates (SR is filled as for the other methods).
    methods::SimulationModel simulationModel;
    methods::SimulationControl simulationControl;
    methods::SimulationResult simulationResult;

    // Outcome words.
    int closedFailed = 0;        // non-zero after a failure of MVA, MVAP or HMVA
    int openCode = 0;            // failure code of JACKSON and DIFF
    int openStation = 0;         // 1-based station number that goes with openCode
    int closedMode = 0;          // integer word passed to the closed methods, always 0
    double diffusionWork = 0.0;  // double the diffusion method overwrites
};

}  // namespace kolt
