// Drawing times and discrete choices for the simulator, from tables built
// once before the run.
//
// A discrete choice among n outcomes costs one uniform number by Walker's
// alias method (Vose's construction, IEEE TSE 17(9), 1991): the scaled
// number u*n picks a column, its fraction decides between the column's own
// outcome and its alias. Times are drawn exactly by their definitions:
//   constant a;  uniform a + (b-a)u;  exponential -m ln u;
//   Erlang k <= 16: -(m/k) ln(u_1...u_k), beyond: Marsaglia and Tsang's
//     gamma method (ACM TOMS 26(3), 2000), Erlang being gamma(k, m/k);
//   Cox: phase i is entered with probability a_i after phase i-1 (the
//     first with a_1) and lasts an exponential time of mean t_i;
//   hyperexponential: branch i with probability p_i, exponential of mean t_i;
//   histogram: bin i with probability w_i / sum w, uniform within the bin.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/simulation/random_stream.h"
#include "solver/methods/simulation/simulation.h"

namespace kolt::methods {

// Outcomes offset .. offset+size-1 of the alias pools.
struct Choice {
    int offset = 0;
    int size = 0;
};

class SamplerSet {
  public:
    // A sampler for the law; list kinds read their pairs from the pools.
    int addLaw(const Law& law, const std::vector<double>& first, const std::vector<double>& second);
    // A choice among weights[0..n-1] (not negative, positive sum).
    Choice addChoice(const double* weights, int n);

    int choose(const Choice& choice, RandomStream& random) const {
        if (choice.size == 1) return 0;
        const double u = random.uniform() * choice.size;
        int column = static_cast<int>(u);
        if (column >= choice.size) column = choice.size - 1;
        const int at = choice.offset + column;
        return u - column < cut_[at] ? column : alias_[at];
    }

    double sample(int id, RandomStream& random) const {
        const Sampler& s = samplers_[id];
        switch (s.kind) {
            case LawKind::Constant: return s.a;
            case LawKind::Exponential: return random.exponential(s.a);
            case LawKind::Uniform: return s.a + s.b * random.uniform();
            default: return sampleSlow(s, random);
        }
    }

    // Bytes of the tables.
    std::int64_t bytes() const;
    // Bytes the tables of one law or one choice of n outcomes take.
    static std::int64_t lawBytes(const Law& law);
    static std::int64_t choiceBytes(int n);

  private:
    struct Sampler {
        LawKind kind = LawKind::None;
        int phases = 0;
        double a = 0, b = 0;  // see sample(); Erlang: a is the phase mean
        Choice choice;        // Hyper: branch, Histogram: bin
        int first = 0;        // Cox phases, Hyper branches, Histogram bins in the value pools
        int count = 0;
    };
    double sampleSlow(const Sampler& s, RandomStream& random) const;
    double gamma(double shape, double scale, RandomStream& random) const;

    std::vector<Sampler> samplers_;
    std::vector<double> cut_;
    std::vector<int> alias_;
    std::vector<double> first_, second_;  // per phase, branch or bin: see addLaw()
};

}  // namespace kolt::methods
