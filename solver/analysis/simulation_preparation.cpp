// The simulator's model from the network, with the checks a simulation
// needs. The model's class hierarchy stops here: distributions become
// sampling descriptors, routing becomes target lists, sources become
// arrival streams.
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "solver/analysis/admissibility.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_index.h"
#include "solver/analysis/array_sizes.h"
#include "solver/analysis/simulation_analysis.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/traffic_equations.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

using methods::Law;
using methods::LawKind;
using methods::SimulationModel;
using Size = std::int64_t;

// Event tags keep 30 bits for a customer's number.
constexpr Size kMaxCustomers = (Size{1} << 30) - 1;
// Open customers present at once beyond which a run is taken as unstable:
// the run control's number, raised to 50 times the mean number of open
// customers at the delay stations (which may hold any number).
constexpr double kOpenCapPerDelayedCustomer = 50.0;

// A time the clock can add up over a run of 10^8 events without overflow.
constexpr double kLongestTime = 1e100;
bool isTime(double t) { return t >= 0.0 && t <= kLongestTime; }
bool isProbability(double p) { return p >= 0.0 && p <= 1.0; }

// The pairs of a list kind into the model's pool; true when every pair
// passes `valid`.
template <typename Valid>
bool appendPairs(const PairListDistribution& d, SimulationModel& m, Law& law, Valid valid) {
    law.first = static_cast<int>(m.pairFirst.size());
    law.count = d.count();
    bool ok = d.count() >= 1;
    for (int i = 0; i < d.count(); ++i) {
        m.pairFirst.push_back(d.first()[i]);
        m.pairSecond.push_back(d.second()[i]);
        ok = ok && valid(d.first()[i], d.second()[i]);
    }
    return ok;
}

// The sampling descriptor of a distribution; false when its parameters
// describe no law of non-negative times (a negative or enormous time, a
// probability outside 0..1, branch probabilities above 1 in all, histogram
// weights that are negative or all 0, an Erlang law without phases).
bool buildLaw(const ServiceDistribution& d, SimulationModel& m, Law& law) {
    switch (d.kind()) {
        case DistributionKind::Det:
            law.kind = LawKind::Constant;
            law.a = d.mean();
            return isTime(law.a);
        case DistributionKind::Exp:
            law.kind = LawKind::Exponential;
            law.a = d.mean();
            return isTime(law.a);
        case DistributionKind::Uni: {
            const auto& u = static_cast<const UniDistribution&>(d);
            law.kind = LawKind::Uniform;
            law.a = u.lower();
            law.b = u.upper();
            return isTime(law.a) && isTime(law.b) && law.a <= law.b;
        }
        case DistributionKind::Erl: {
            const auto& e = static_cast<const ErlDistribution&>(d);
            law.kind = LawKind::Erlang;
            law.phases = e.phases();
            law.a = e.mean();
            return law.phases >= 1 && isTime(law.a);
        }
        case DistributionKind::Cox:
            law.kind = LawKind::Cox;
            return appendPairs(static_cast<const PairListDistribution&>(d), m, law,
                               [](double a, double t) { return isProbability(a) && isTime(t); });
        case DistributionKind::Hip: {
            law.kind = LawKind::Hyper;
            double total = 0.0;
            const bool ok = appendPairs(static_cast<const PairListDistribution&>(d), m, law, [&](double p, double t) {
                total += p;
                return isProbability(p) && isTime(t);
            });
            return ok && total <= 1.0 + 1e-9;
        }
        case DistributionKind::Hist: {
            law.kind = LawKind::Histogram;
            double weights = 0.0;
            const bool ok = appendPairs(static_cast<const PairListDistribution&>(d), m, law, [&](double x, double w) {
                weights += w;
                return isTime(x) && std::isfinite(w) && w >= 0.0;
            });
            return ok && weights > 0.0 && std::isfinite(weights);
        }
        default: return false;  // G: refused by the admissibility table
    }
}

bool sameLaw(const SimulationModel& m, const Law& x, const Law& y) {
    if (x.kind != y.kind || x.phases != y.phases || x.a != y.a || x.b != y.b || x.count != y.count) return false;
    for (int i = 0; i < x.count; ++i)
        if (m.pairFirst[x.first + i] != m.pairFirst[y.first + i] ||
            m.pairSecond[x.first + i] != m.pairSecond[y.first + i])
            return false;
    return true;
}

class SimulationPreparation {
  public:
    SimulationPreparation(const Network& network, AnalysisContext& c, Reporter& reporter)
        : network_(network), c_(c), m_(c.simulationModel), reporter_(reporter), lookup_(c, reporter) {}

    void build() {
        const Size M = c_.M, R = c_.R;
        m_ = SimulationModel{};
        m_.M = c_.M;
        m_.R = c_.R;
        allocateArray(c_.SR, R * M, " (SR)", reporter_);
        m_.discipline.assign(M, methods::kFifo);
        m_.population.assign(R, 0);
        m_.startStation.assign(R, 0);
        m_.service.assign(R * M, Law{});
        m_.routeBegin.assign(R * M + 1, 0);
        described_.assign(M, false);
        externalRate_.assign(R * M, 0.0);
        fed_.assign(R * M, 0);
        for (int r = 0; r < c_.R; ++r) m_.population[r] = std::max(network_.customers(r), 0);

        for (int s = 0; s < c_.M; ++s) describeStation(s);
        for (const Station* source : c_.sources) describeSource(*source);
        checkClosedClasses();
        checkOpenLoad();
        warnMissingService();
    }

  private:
    std::size_t at(int s, int r) const { return classStationIndex(c_.R, r, s); }
    bool closed(int r) const { return m_.population[r] > 0; }
    const char* className(int r) const { return network_.className(r).c_str(); }

    // The station checks in the order of the other preparations, then the
    // station's laws and its routing lists.
    void describeStation(int s) {
        const Station& station = *c_.stations[s];
        const bool usable = station.discipline() != nullptr && station.routing()->checkRoutingSums(reporter_) &&
                            schedulingAdmitted(station, c_.methodIndex, reporter_);
        if (usable) {
            described_[s] = true;
            m_.discipline[s] = static_cast<int>(station.discipline()->kind());
            for (int r = 0; r < c_.R; ++r) {
                const ServiceDistribution* distribution = station.serviceTable().at(r);
                if (distribution == nullptr) continue;  // time 0; warned about if the class comes here
                if (!distributionAdmitted(*distribution, station, c_.methodIndex, reporter_)) continue;
                if (!buildLaw(*distribution, m_, m_.service[at(s, r)])) reportBadLaw(*distribution, r, station);
            }
        }
        for (int r = 0; r < c_.R; ++r) {
            const std::vector<Transition>* list = usable ? station.routing()->transitions(r) : nullptr;
            if (list != nullptr) {
                for (const Transition& transition : *list) {
                    const int t = lookup_.indexOf(transition.target, reporter_);
                    if (t != StationLookup::kExit) c_.SR[at(t, r)] = 1;
                    m_.routeTarget.push_back(t == StationLookup::kExit ? methods::kExitTarget : t);
                    m_.routeProbability.push_back(transition.probability);
                }
            }
            m_.routeBegin[at(s, r) + 1] = static_cast<int>(m_.routeTarget.size());
        }
    }

    void reportBadLaw(const ServiceDistribution& distribution, int r, const Station& object) {
        const std::string kind = fixedText(distributionDisplayName(distribution.kind()));
        const char* format = object.type() == kSourceType
                                 ? "Rozkład %s klasy %s ma niewłaściwe parametry (źródło: %s)"
                                 : "Rozkład %s klasy %s ma niewłaściwe parametry (stanowisko: %s)";
        reporter_.report(Level::Error, formatText(format, kind.c_str(), className(r), object.name().c_str()));
    }

    // A source's arrivals: each class with an interarrival law and targets.
    // Classes sharing one law whose targets add up to at most 1 (what a
    // TRANSIT naming a class at each target writes) are one stream split
    // among the targets; otherwise (a TRANSIT without class names gives every
    // class its own targets adding up to 1) each class is a stream of its own.
    void describeSource(const Station& source) {
        struct Feed {
            Law law;
            int begin, end;
        };
        std::vector<Feed> feeds;
        std::vector<int> stations, classes;
        std::vector<double> probabilities;
        for (int r = 0; r < c_.R; ++r) {
            const std::vector<Transition>* list = source.routing()->transitions(r);
            if (list == nullptr) continue;
            if (closed(r)) {
                // A TRANSIT without class names gives every class the
                // source's targets; arrivals exist only for open classes.
                reporter_.report(Level::Warning, formatText("Pominięto tranzycje klasy zamkniętej %s ze źródła %s",
                                                            className(r), source.name().c_str()));
                continue;
            }
            const ServiceDistribution* interarrival = source.serviceTable().at(r);
            Law law;
            bool drawn =
                interarrival != nullptr && distributionAdmitted(*interarrival, source, c_.methodIndex, reporter_);
            if (drawn && !(buildLaw(*interarrival, m_, law) && interarrival->mean() > 0.0)) {
                reportBadLaw(*interarrival, r, source);
                drawn = false;
            }
            const int begin = static_cast<int>(stations.size());
            for (const Transition& transition : *list) {
                if (transition.target->type() == kExitType) {
                    reporter_.report(Level::Error,
                                     formatText("Niedozwolone opuszczenie sieci przez klientow klasy %d ze zrodla %s",
                                                r, source.name().c_str()));
                    continue;
                }
                const int t = lookup_.indexOf(transition.target, reporter_);
                fed_[at(t, r)] = 1;
                if (!drawn) continue;  // visits, but brings no arrivals
                stations.push_back(t);
                classes.push_back(r);
                probabilities.push_back(transition.probability);
                externalRate_[at(t, r)] += transition.probability / interarrival->mean();
            }
            if (drawn && static_cast<int>(stations.size()) > begin)
                feeds.push_back({law, begin, static_cast<int>(stations.size())});
        }
        if (feeds.empty()) return;

        bool oneStream = true;
        double total = 0.0;
        for (const Feed& feed : feeds) {
            oneStream = oneStream && sameLaw(m_, feed.law, feeds.front().law);
            for (int i = feed.begin; i < feed.end; ++i) total += probabilities[i];
        }
        oneStream = oneStream && total <= 1.0 + 1e-9;
        const int offset = static_cast<int>(m_.streamStation.size());
        m_.streamStation.insert(m_.streamStation.end(), stations.begin(), stations.end());
        m_.streamClass.insert(m_.streamClass.end(), classes.begin(), classes.end());
        m_.streamProbability.insert(m_.streamProbability.end(), probabilities.begin(), probabilities.end());
        if (oneStream) {
            m_.streams.push_back({feeds.front().law, offset + feeds.front().begin, offset + feeds.back().end});
            return;
        }
        for (const Feed& feed : feeds) m_.streams.push_back({feed.law, offset + feed.begin, offset + feed.end});
    }

    // Closed customers stay for ever: at every station a closed class can
    // come to, its routing must exist and must not lead to the exit. They
    // start at the first station they visit.
    void checkClosedClasses() {
        for (int r = 0; r < c_.R; ++r) {
            if (!closed(r)) continue;
            int first = -1;
            for (int s = 0; s < c_.M; ++s) {
                if (!c_.SR[at(s, r)]) continue;
                if (first < 0) first = s;
                if (!described_[s]) continue;  // its own errors are reported
                const int begin = m_.routeBegin[at(s, r)], end = m_.routeBegin[at(s, r) + 1];
                const char* name = c_.stations[s]->name().c_str();
                if (begin == end)
                    reporter_.report(Level::Error, formatText("Brak tranzycji klasy zamkniętej %s w stanowisku %s",
                                                              className(r), name));
                for (int i = begin; i < end; ++i) {
                    if (m_.routeTarget[i] != methods::kExitTarget) continue;
                    reporter_.report(
                        Level::Error,
                        formatText("Klienci klasy zamkniętej %s opuszczają sieć w stanowisku %s", className(r), name));
                    break;
                }
            }
            if (first < 0)
                reporter_.report(Level::Error, formatText("Klasa %s nie odwiedza żadnego stanowiska", className(r)));
            m_.startStation[r] = std::max(first, 0);
        }
    }

    void warnMissingService() {
        for (int s = 0; s < c_.M; ++s) {
            if (!described_[s]) continue;
            for (int r = 0; r < c_.R; ++r)
                if (c_.SR[at(s, r)] && c_.stations[s]->serviceTable().at(r) == nullptr)
                    reporter_.report(Level::Warning, formatText("Brak rozkladu dla klasy %d w stanowisku %s", r,
                                                                c_.stations[s]->name().c_str()));
        }
    }

    // Arrival rates of each open class from the traffic equations over the
    // stations its arrivals can reach; every one of them must lead to the
    // exit, and the open load of every single server must stay below 1
    // (closed customers cannot help there: below it the open queue grows
    // without bound).
    void checkOpenLoad() {
        const int M = c_.M;
        std::vector<double> openLoad(M, 0.0);
        double delayed = 0.0;
        bool topologyReported = false;
        for (int r = 0; r < c_.R; ++r) {
            if (closed(r)) continue;
            // An open class visits the stations its arrivals reach, not every
            // target a station's routing gives all classes.
            std::vector<int> reached;
            const bool leaves = reachableStations(r, reached);
            for (int s = 0; s < M; ++s) c_.SR[at(s, r)] = 0;
            for (int s : reached) c_.SR[at(s, r)] = 1;
            if (!leaves) {
                if (!topologyReported) reporter_.report(Level::Error, fixedText("Niewłaściwa topologia sieci"));
                topologyReported = true;
                continue;
            }
            const std::vector<double> lambda = arrivalRates(r, reached);
            for (std::size_t i = 0; i < reached.size(); ++i) {
                const int s = reached[i];
                const ServiceDistribution* service = c_.stations[s]->serviceTable().at(r);
                if (service == nullptr) continue;
                const double load = lambda[i] * service->mean();
                if (m_.discipline[s] == methods::kInfiniteServer)
                    delayed += load;
                else
                    openLoad[s] += load;
            }
        }
        for (int s = 0; s < M; ++s)
            if (!(openLoad[s] < 1.0))
                reporter_.report(Level::Error,
                                 formatText("Przeciazone stanowisko \"%s\"", c_.stations[s]->name().c_str()));

        Size closedCustomers = 0;
        for (int k : m_.population) closedCustomers += k;
        const double cap = std::max<double>(static_cast<double>(c_.simulationControl.openCustomerCap),
                                            kOpenCapPerDelayedCustomer * delayed);
        c_.simulationControl.openCustomerCap =
            static_cast<Size>(std::min<double>(cap, static_cast<double>(kMaxCustomers - closedCustomers)));
    }

    // The stations open class r reaches from the streams, in `reached`;
    // false when a customer can get caught in a loop without exit.
    bool reachableStations(int r, std::vector<int>& reached) {
        const int M = c_.M;
        std::vector<int> index(M, -1);
        auto visit = [&](int s) {
            if (index[s] >= 0) return;
            index[s] = static_cast<int>(reached.size());
            reached.push_back(s);
        };
        for (int s = 0; s < M; ++s)
            if (fed_[at(s, r)]) visit(s);
        std::vector<std::vector<int>> comesFrom;
        for (std::size_t i = 0; i < reached.size(); ++i) {
            const std::size_t x = at(reached[i], r);
            for (int k = m_.routeBegin[x]; k < m_.routeBegin[x + 1]; ++k)
                if (m_.routeTarget[k] != methods::kExitTarget) visit(m_.routeTarget[k]);
        }
        // Backwards from the stations with a way out.
        comesFrom.assign(reached.size(), {});
        std::vector<char> leaves(reached.size(), 0);
        std::vector<int> pending;
        for (std::size_t i = 0; i < reached.size(); ++i) {
            const std::size_t x = at(reached[i], r);
            if (m_.routeBegin[x] == m_.routeBegin[x + 1]) leaves[i] = 1;
            for (int k = m_.routeBegin[x]; k < m_.routeBegin[x + 1]; ++k) {
                if (m_.routeTarget[k] == methods::kExitTarget)
                    leaves[i] = 1;
                else
                    comesFrom[index[m_.routeTarget[k]]].push_back(static_cast<int>(i));
            }
            if (leaves[i]) pending.push_back(static_cast<int>(i));
        }
        while (!pending.empty()) {
            const int i = pending.back();
            pending.pop_back();
            for (int j : comesFrom[i])
                if (!leaves[j]) {
                    leaves[j] = 1;
                    pending.push_back(j);
                }
        }
        for (char l : leaves)
            if (!l) return false;
        return true;
    }

    // lambda = lambda0 + P^T lambda over the reached stations, solved as the
    // open methods solve their traffic equations.
    std::vector<double> arrivalRates(int r, const std::vector<int>& reached) {
        const int n = static_cast<int>(reached.size());
        std::vector<int> index(c_.M, -1);
        for (int i = 0; i < n; ++i) index[reached[i]] = i;
        std::vector<double> BP(static_cast<std::size_t>(n) * (n + 1), 0.0);
        for (int i = 0; i < n; ++i) {
            const std::size_t x = at(reached[i], r);
            for (int k = m_.routeBegin[x]; k < m_.routeBegin[x + 1]; ++k)
                if (m_.routeTarget[k] != methods::kExitTarget)
                    BP[static_cast<std::size_t>(i) * n + index[m_.routeTarget[k]]] += m_.routeProbability[k];
            BP[static_cast<std::size_t>(n) * n + i] = -externalRate_[x];
        }
        std::vector<double> lambda(n, 0.0);
        if (n > 0) methods::solveTrafficEquations(n, BP.data(), lambda.data());
        return lambda;
    }

    const Network& network_;
    AnalysisContext& c_;
    SimulationModel& m_;
    Reporter& reporter_;
    const StationLookup lookup_;
    std::vector<bool> described_;
    std::vector<double> externalRate_;  // R x M: arrivals from the sources
    std::vector<char> fed_;             // R x M: the sources route there
};

}  // namespace

void prepareSimulation(const Network& network, AnalysisContext& c, Reporter& reporter) {
    try {
        SimulationPreparation(network, c, reporter).build();
    } catch (const std::bad_alloc&) {
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (SIMUL)"));
    }
    // Memory the run takes at its start is refused beforehand when it cannot
    // be had: the closed customers by name, the rest (mostly the stored
    // batches, 128 rows of three numbers per station and class) as a whole.
    Size closedCustomers = 0;
    for (int k : c.simulationModel.population) closedCustomers += k;
    if (closedCustomers >= kMaxCustomers || !allocatable(closedCustomers, 16))
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (customers)"));
    const Size bytes = methods::simulationMemoryBytes(c.simulationModel);
    if (!allocatable(bytes, 1)) reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (batches)"));

    std::FILE* err = reporter.stream(Target::Err);
    std::fputs(std::to_string(bytes).c_str(), err);
    writeFixed(err, " bajtów\n");
}

}  // namespace kolt
