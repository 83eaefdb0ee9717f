#include "solver/methods/simulation/law_sampler.h"

#include <cmath>

namespace kolt::methods {
namespace {

// Erlang laws up to this many phases are drawn as one logarithm of a product
// of uniforms; 16 factors of at least 2^-53 stay far above the smallest
// normal double.
constexpr int kProductPhases = 16;

}  // namespace

Choice SamplerSet::addChoice(const double* weights, int n) {
    Choice choice{static_cast<int>(cut_.size()), n};
    double total = 0.0;
    for (int i = 0; i < n; ++i) total += weights[i];
    cut_.resize(cut_.size() + n);
    alias_.resize(alias_.size() + n);
    double* cut = cut_.data() + choice.offset;
    int* alias = alias_.data() + choice.offset;

    // Vose: columns below their fair share are topped up from one above it.
    std::vector<int> small, large;
    for (int i = 0; i < n; ++i) {
        cut[i] = weights[i] * n / total;
        alias[i] = i;
        (cut[i] < 1.0 ? small : large).push_back(i);
    }
    while (!small.empty() && !large.empty()) {
        const int s = small.back(), l = large.back();
        small.pop_back();
        alias[s] = l;
        cut[l] -= 1.0 - cut[s];
        if (cut[l] < 1.0) {
            large.pop_back();
            small.push_back(l);
        }
    }
    // What is left is full up to rounding.
    for (int i : small) cut[i] = 1.0;
    for (int i : large) cut[i] = 1.0;
    return choice;
}

int SamplerSet::addLaw(const Law& law, const std::vector<double>& first, const std::vector<double>& second) {
    Sampler s;
    s.kind = law.kind;
    switch (law.kind) {
        case LawKind::None: s.kind = LawKind::Constant; break;
        case LawKind::Constant:
        case LawKind::Exponential: s.a = law.a; break;
        case LawKind::Uniform:
            s.a = law.a;
            s.b = law.b - law.a;
            break;
        case LawKind::Erlang:
            s.phases = law.phases;
            s.a = law.a / law.phases;
            break;
        case LawKind::Cox:
            s.first = static_cast<int>(first_.size());
            s.count = law.count;
            for (int i = 0; i < law.count; ++i) {
                first_.push_back(first[law.first + i]);
                second_.push_back(second[law.first + i]);
            }
            break;
        case LawKind::Hyper: {
            // Branch probabilities, and the mass they leave as a branch of
            // time 0, so that the mean is sum p_i t_i.
            std::vector<double> weights(first.begin() + law.first, first.begin() + law.first + law.count);
            double total = 0.0;
            for (double p : weights) total += p;
            s.first = static_cast<int>(first_.size());
            for (int i = 0; i < law.count; ++i) {
                first_.push_back(second[law.first + i]);
                second_.push_back(0.0);
            }
            if (total < 1.0) {
                weights.push_back(1.0 - total);
                first_.push_back(0.0);
                second_.push_back(0.0);
            }
            s.count = static_cast<int>(weights.size());
            s.choice = addChoice(weights.data(), s.count);
            break;
        }
        case LawKind::Histogram: {
            // Bin i spans the previous bound to its own; it is drawn as
            // lower + width * u, whichever way round the bounds are.
            std::vector<double> weights(second.begin() + law.first, second.begin() + law.first + law.count);
            s.first = static_cast<int>(first_.size());
            s.count = law.count;
            double lower = 0.0;
            for (int i = 0; i < law.count; ++i) {
                const double upper = first[law.first + i];
                first_.push_back(lower);
                second_.push_back(upper - lower);
                lower = upper;
            }
            s.choice = addChoice(weights.data(), s.count);
            break;
        }
    }
    samplers_.push_back(s);
    return static_cast<int>(samplers_.size()) - 1;
}

double SamplerSet::sampleSlow(const Sampler& s, RandomStream& random) const {
    switch (s.kind) {
        case LawKind::Erlang: {
            if (s.phases > kProductPhases) return gamma(s.phases, s.a, random);
            double product = 1.0;
            for (int i = 0; i < s.phases; ++i) product *= random.positiveUniform();
            return -s.a * RandomStream::logarithm(product);
        }
        case LawKind::Cox: {
            double t = 0.0;
            for (int i = s.first; i < s.first + s.count; ++i) {
                const double entry = first_[i];
                if (entry < 1.0 && !(random.uniform() < entry)) break;
                t += random.exponential(second_[i]);
            }
            return t;
        }
        case LawKind::Hyper: {
            const int branch = s.first + choose(s.choice, random);
            return random.exponential(first_[branch]);
        }
        case LawKind::Histogram: {
            const int bin = s.first + choose(s.choice, random);
            return first_[bin] + second_[bin] * random.uniform();
        }
        default: return s.a;
    }
}

// Marsaglia and Tsang for shape >= 1: with d = shape - 1/3, c = 1/sqrt(9d),
// x standard normal and v = (1 + c x)^3, accept d*v when
// ln u < x^2/2 + d - d v + d ln v. The normal comes from the polar method.
double SamplerSet::gamma(double shape, double scale, RandomStream& random) const {
    const double d = shape - 1.0 / 3.0;
    const double c = 1.0 / std::sqrt(9.0 * d);
    for (;;) {
        double x = 0.0, w = 0.0;
        do {
            const double p = 2.0 * random.uniform() - 1.0;
            const double q = 2.0 * random.uniform() - 1.0;
            w = p * p + q * q;
            x = p;
        } while (w >= 1.0 || w == 0.0);
        x *= std::sqrt(-2.0 * RandomStream::logarithm(w) / w);
        const double root = 1.0 + c * x;
        if (root <= 0.0) continue;
        const double v = root * root * root;
        if (RandomStream::logarithm(random.positiveUniform()) <
            0.5 * x * x + d - d * v + d * RandomStream::logarithm(v))
            return d * v * scale;
    }
}

std::int64_t SamplerSet::choiceBytes(int n) { return static_cast<std::int64_t>(n) * (sizeof(double) + sizeof(int)); }

std::int64_t SamplerSet::lawBytes(const Law& law) {
    std::int64_t bytes = sizeof(Sampler);
    const std::int64_t values = 2 * sizeof(double);
    switch (law.kind) {
        case LawKind::Cox: bytes += law.count * values; break;
        case LawKind::Hyper: bytes += (law.count + 1) * values + choiceBytes(law.count + 1); break;
        case LawKind::Histogram: bytes += law.count * values + choiceBytes(law.count); break;
        default: break;
    }
    return bytes;
}

std::int64_t SamplerSet::bytes() const {
    return static_cast<std::int64_t>(samplers_.size() * sizeof(Sampler) + cut_.size() * sizeof(double) +
                                     alias_.size() * sizeof(int) + (first_.size() + second_.size()) * sizeof(double));
}

}  // namespace kolt::methods
