// Stations and sources: their type, their dump, and the setters through
// which the parser fills the service table.
#include "solver/model/station.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <new>
#include <string_view>

#include "solver/core/reporter.h"
#include "solver/core/text.h"
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

// `value` with six decimals as printf's %f writes it: the exact binary value
// rounded correctly, a tie to the even last digit. A value below 10^9 is
// significand / 2^shift with shift > 0, and its product with 10^6 is an exact
// 128-bit integer, so the rounding is decided on integers; that covers every
// probability. Other values go through to_chars, which gives the same digits
// more slowly.
std::string_view sixDecimals(double value, char (&digits)[64]) {
    if (!(value >= 0 && value < 1e9)) {
        const auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
        return {digits, static_cast<std::size_t>(written.ptr - digits)};
    }
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biasedExponent = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t significand = biasedExponent == 0 ? fraction : fraction | std::uint64_t{1} << 52;
    const int shift = biasedExponent == 0 ? 1074 : 1075 - biasedExponent;
    std::uint64_t millionths = 0;
    if (shift < 100) {  // from 2^74 on the product is below half a unit: 0
        const unsigned __int128 one = 1;
        const unsigned __int128 product = static_cast<unsigned __int128>(significand) * 1000000u;
        millionths = static_cast<std::uint64_t>(product >> shift);
        const unsigned __int128 rest = product & ((one << shift) - 1);
        const unsigned __int128 half = one << (shift - 1);
        if (rest > half || (rest == half && (millionths & 1) != 0)) ++millionths;
    }
    char* end = std::to_chars(digits, digits + sizeof digits, millionths / 1000000).ptr;
    *end++ = '.';
    std::uint64_t decimals = millionths % 1000000;
    for (int i = 5; i >= 0; --i, decimals /= 10) end[i] = static_cast<char>('0' + decimals % 10);
    return {digits, static_cast<std::size_t>(end + 6 - digits)};
}

std::string_view decimal(int value, char (&digits)[16]) {
    return {digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits)};
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
// The lines are put together from pieces converted to Windows-1250 once, not
// formatted: a large file's dump writes millions of them.
void Station::dump(Reporter& list) const {
    static const std::string sourceHeading = fixedText("Zródło: ");
    static const std::string stationHeading = fixedText("Stanowisko: ");
    static const std::string distributions = fixedText("  Rozkłady:");
    static const std::string transitionsLine = fixedText("  Tranzycje:");
    static const std::string noRoutingNode = fixedText("  Brak wezla tranzycyjnego");
    static const std::string forClass = fixedText("    Dla klasy ");
    const auto kindName = [](DistributionKind kind) {
        return fixedText(" rozkład: ") + fixedText(distributionDisplayName(kind));
    };
    static const std::string kindNames[] = {kindName(DistributionKind::Det), kindName(DistributionKind::Uni),
                                            kindName(DistributionKind::Exp), kindName(DistributionKind::Cox),
                                            kindName(DistributionKind::Erl), kindName(DistributionKind::Hip),
                                            kindName(DistributionKind::Gen), kindName(DistributionKind::Hist)};
    char classDigits[16];
    char probabilityDigits[64];
    list.reportInfo({type() == kSourceType ? sourceHeading : stationHeading, name()});
    const RoutingNode* node = routing();
    if (node == nullptr) {
        list.report(Level::Info, noRoutingNode);
        return;
    }
    list.report(Level::Info, distributions);
    // Classes in index order: bit by bit from the lowest.
    for (std::uint32_t left = services_.classes(); left != 0; left &= left - 1) {
        const int r = std::countr_zero(left);
        list.reportInfo({forClass, decimal(r, classDigits), kindNames[static_cast<int>(services_.at(r)->kind())]});
    }
    list.report(Level::Info, transitionsLine);
    for (std::uint32_t left = node->classes(); left != 0; left &= left - 1) {
        const int r = std::countr_zero(left);
        list.reportInfo({forClass, decimal(r, classDigits)});
        for (const Transition& t : *node->transitions(r))
            list.reportInfo(
                {"      Do obiektu ", t.target->name(), " z prawd. ", sixDecimals(t.probability, probabilityDigits)});
    }
}

}  // namespace kolt
