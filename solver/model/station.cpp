// Stations and sources: their type, their dump, and the setters through
// which the parser fills the service table.
#include "solver/model/station.h"

#include <charconv>
#include <new>

#include "solver/frontend/reporter.h"
#include "solver/frontend/text.h"
#include "solver/model/network.h"

namespace kolt {
namespace {

bool validClass(int classIndex) { return classIndex >= 0 && classIndex < kMaxClasses; }

// Reports through the network the station has joined. A station that has
// joined none has nowhere to report; its setters still return their result.
void reportFor(const Station& station, Level level, const std::string& text) {
    if (Network* network = station.network()) network->reporter().report(level, text);
}

// Running out of memory ends the run with a Fatal message; without a network
// to report through, the exhaustion itself goes on to the entry.
void reportExhausted(const Station& station, const char* message) {
    if (station.network() == nullptr) throw std::bad_alloc();
    reportFor(station, Level::Fatal, fixedText(message));
}

bool acceptClass(const Station& station, int classIndex) {
    if (validClass(classIndex)) return true;
    reportFor(station, Level::Error,
              formatText("Nieprawidlowy numer klasy (%d) w obiekcie %s", classIndex, station.name().c_str()));
    return false;
}

// Single-value rule: the first distribution given for a class stays; a later
// one is discarded with a warning.
template <class Make>
int setSingleValue(Station& station, int classIndex, Make make) {
    if (!acceptClass(station, classIndex)) return 0;
    if (station.serviceTable().at(classIndex) != nullptr) {
        reportFor(station, Level::Warning,
                  formatText("Zignorowano powtorne ustalenie rozkladu czasu obslugi w stan. %s dla klasy %d",
                             station.name().c_str(), classIndex));
        return 0;
    }
    try {
        return station.serviceTable().store(classIndex, make()) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        reportExhausted(station, "Blad allokacji pamieci");
        return 0;
    }
}

struct ListKind {
    DistributionKind kind;
    const char* mismatch;         // another kind already holds the slot
    const char* creationFailure;  // no memory for the first pair
};

constexpr ListKind kCoxList{DistributionKind::Cox,
                            "Dodanie nowych parametrow dla innego rozkladu niz COX w %s dla klasy %d",
                            "Blad allokacji pamieci"};
constexpr ListKind kHipList{DistributionKind::Hip,
                            "Dodanie nowych parametrow dla innego rozkladu niz Hiperboliczny w %s dla klasy %d",
                            "Blad allokacji pamieci"};
constexpr ListKind kHistList{DistributionKind::Hist,
                             "Dodanie nowych parametrow dla innego rozkladu niz Histogram w %s dla klasy %d",
                             "Blad alokacji pamieci"};

// List rule: the first pair creates the distribution, later pairs for the
// same class are appended to it; a slot holding another kind is left alone.
template <class D>
int addPair(Station& station, int classIndex, double first, double second, const ListKind& list) {
    if (!acceptClass(station, classIndex)) return 0;
    ServiceDistribution* existing = station.serviceTable().at(classIndex);
    if (existing == nullptr) {
        try {
            auto d = std::make_unique<D>(std::vector<double>{first}, std::vector<double>{second});
            return station.serviceTable().store(classIndex, std::move(d)) ? 1 : 0;
        } catch (const std::bad_alloc&) {
            reportExhausted(station, list.creationFailure);
            return 0;
        }
    }
    if (existing->kind() != list.kind) {
        reportFor(station, Level::Error, formatText(list.mismatch, station.name().c_str(), classIndex));
        return 0;
    }
    try {
        static_cast<D*>(existing)->appendPair(first, second);
    } catch (const PairListDistribution::SecondArrayExhausted&) {
        reportExhausted(station, "Blad alokacji pamieci");
        return 0;
    } catch (const std::bad_alloc&) {
        reportExhausted(station, "Blad allokacji pamieci");
        return 0;
    }
    return 1;
}

}  // namespace

int Station::type() const {
    return discipline_ && discipline_->kind() == SchedulingKind::SourceMarker ? kSourceType : kStationType;
}

int Station::setDet(int classIndex, double mean) {
    return setSingleValue(*this, classIndex, [&] { return std::make_unique<DetDistribution>(mean); });
}

int Station::setExp(int classIndex, double mean) {
    return setSingleValue(*this, classIndex, [&] { return std::make_unique<ExpDistribution>(mean); });
}

int Station::setUni(int classIndex, double a, double b) {
    return setSingleValue(*this, classIndex, [&] { return std::make_unique<UniDistribution>(a, b); });
}

int Station::setErl(int classIndex, int phases, double mean) {
    return setSingleValue(*this, classIndex, [&] { return std::make_unique<ErlDistribution>(phases, mean); });
}

int Station::setGen(int classIndex, double mean, double variation) {
    return setSingleValue(*this, classIndex, [&] { return std::make_unique<GenDistribution>(mean, variation); });
}

int Station::addCoxPhase(int classIndex, double probability, double mean) {
    return addPair<CoxDistribution>(*this, classIndex, probability, mean, kCoxList);
}

int Station::addHipBranch(int classIndex, double probability, double mean) {
    return addPair<HipDistribution>(*this, classIndex, probability, mean, kHipList);
}

int Station::addHistBin(int classIndex, double upperBound, double weight) {
    return addPair<HistDistribution>(*this, classIndex, upperBound, weight, kHistList);
}

// Station line, its distributions by class, then its transitions by class.
// The fixed lines are converted to Windows-1250 once: a large file's dump
// writes them hundreds of thousands of times.
void Station::dump(Reporter& list) const {
    static const std::string distributions = fixedText("  Rozkłady:");
    static const std::string transitionsLine = fixedText("  Tranzycje:");
    static const std::string noRoutingNode = fixedText("  Brak wezla tranzycyjnego");
    static const std::string kindNames[] = {
        fixedText(distributionDisplayName(DistributionKind::Det)), fixedText(distributionDisplayName(DistributionKind::Uni)),
        fixedText(distributionDisplayName(DistributionKind::Exp)), fixedText(distributionDisplayName(DistributionKind::Cox)),
        fixedText(distributionDisplayName(DistributionKind::Erl)), fixedText(distributionDisplayName(DistributionKind::Hip)),
        fixedText(distributionDisplayName(DistributionKind::Gen)), fixedText(distributionDisplayName(DistributionKind::Hist))};
    const char* heading = type() == kSourceType ? "Zródło: %s" : "Stanowisko: %s";
    list.report(Level::Info, formatText(heading, name().c_str()));
    const RoutingNode* node = routing();
    if (node == nullptr) {
        list.report(Level::Info, noRoutingNode);
        return;
    }
    list.report(Level::Info, distributions);
    for (int r = 0; r < kMaxClasses; ++r) {
        const ServiceDistribution* d = services_.at(r);
        if (d == nullptr) continue;
        list.report(Level::Info, formatText("    Dla klasy %d rozkład: %s", r, kindNames[static_cast<int>(d->kind())].c_str()));
    }
    list.report(Level::Info, transitionsLine);
    for (int r = 0; r < kMaxClasses; ++r) {
        const std::vector<Transition>* transitions = node->transitions(r);
        if (transitions == nullptr) continue;
        list.report(Level::Info, formatText("    Dla klasy %d", r));
        for (const Transition& t : *transitions) {
            // "      Do obiektu %s z prawd. %f" without a format: the line is
            // the most frequent of a large dump. to_chars gives printf's
            // digits for %f (both round correctly to six decimals).
            char probability[64];
            const auto written = std::to_chars(probability, probability + sizeof probability, t.probability,
                                               std::chars_format::fixed, 6);
            std::string line = "      Do obiektu ";
            line += t.target->name();
            line += " z prawd. ";
            line.append(probability, written.ptr);
            list.report(Level::Info, std::move(line));
        }
    }
}

}  // namespace kolt
