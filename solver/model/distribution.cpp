// Distribution kinds: names, parameter copying and the
// per-object table of distributions. The moments are in
// distribution_moments.cpp.
#include "solver/model/distribution.h"

#include <algorithm>

#include "solver/core/reporter.h"
#include "solver/core/text.h"

namespace kolt {
namespace {

bool validClass(int classIndex) { return classIndex >= 0 && classIndex < kMaxClasses; }

void warnKindMismatch(const ServiceDistribution& target, Reporter& reporter) {
    reporter.report(Level::Warning,
                    formatText("Zignorowano bledne przypisanie rozkladowi typu '%s' rozkladu innego typu",
                               distributionKeyword(target.kind())));
}

// Copies the whole object when `other` is of the same dynamic type.
template <class D>
ServiceDistribution& assignSameKind(D& target, const ServiceDistribution& other, Reporter& reporter) {
    if (other.kind() == target.kind()) {
        target = static_cast<const D&>(other);
    } else {
        warnKindMismatch(target, reporter);
    }
    return target;
}

// A new empty object of the same kind, or null when memory runs out.
template <class D>
std::unique_ptr<ServiceDistribution> makeEmpty() {
    try {
        return std::make_unique<D>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

const char* distributionDisplayName(DistributionKind kind) {
    switch (kind) {
        case DistributionKind::Det: return "deterministyczny";
        case DistributionKind::Uni: return "równomierny";
        case DistributionKind::Exp: return "wykładniczy";
        case DistributionKind::Cox: return "Coxa";
        case DistributionKind::Erl: return "Erlanga";
        case DistributionKind::Hip: return "hiperwykładniczy";
        case DistributionKind::Gen: return "ogólny";
        case DistributionKind::Hist: return "histogramowy";
    }
    return "";
}

const char* distributionKeyword(DistributionKind kind) {
    switch (kind) {
        case DistributionKind::Det: return "DET";
        case DistributionKind::Uni: return "UNI";
        case DistributionKind::Exp: return "EXP";
        case DistributionKind::Cox: return "COX";
        case DistributionKind::Erl: return "ERL";
        case DistributionKind::Hip: return "HIP";
        case DistributionKind::Gen: return "G";
        case DistributionKind::Hist: return "HIST";
    }
    return "";
}

// --- single-parameter kinds ---------------------------------------------------

ServiceDistribution& DetDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignSameKind(*this, other, reporter);
}
std::unique_ptr<ServiceDistribution> DetDistribution::createEmpty() const { return makeEmpty<DetDistribution>(); }

ServiceDistribution& ExpDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignSameKind(*this, other, reporter);
}
std::unique_ptr<ServiceDistribution> ExpDistribution::createEmpty() const { return makeEmpty<ExpDistribution>(); }

ServiceDistribution& UniDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignSameKind(*this, other, reporter);
}
std::unique_ptr<ServiceDistribution> UniDistribution::createEmpty() const { return makeEmpty<UniDistribution>(); }

ServiceDistribution& ErlDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignSameKind(*this, other, reporter);
}
std::unique_ptr<ServiceDistribution> ErlDistribution::createEmpty() const { return makeEmpty<ErlDistribution>(); }

ServiceDistribution& GenDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignSameKind(*this, other, reporter);
}
std::unique_ptr<ServiceDistribution> GenDistribution::createEmpty() const { return makeEmpty<GenDistribution>(); }

// --- kinds given by a list of pairs -------------------------------------------

PairListDistribution::PairListDistribution(std::vector<double> first, std::vector<double> second)
    : first_(std::move(first)), second_(std::move(second)) {
    // Element i of both arrays forms pair i; a surplus element has no partner.
    const size_t n = std::min(first_.size(), second_.size());
    first_.resize(n);
    second_.resize(n);
}

void PairListDistribution::appendPair(double first, double second) {
    // Room for the new pair is made in both arrays before either changes, so
    // a failed allocation leaves the pairs as they were. The room grows
    // geometrically: a list of a million pairs is built in linear time.
    const size_t n = first_.size();
    if (first_.capacity() == n) first_.reserve(2 * n + 1);
    if (second_.capacity() == n) {
        try {
            second_.reserve(2 * n + 1);
        } catch (const std::bad_alloc&) {
            throw SecondArrayExhausted{};
        }
    }
    first_.push_back(first);
    second_.push_back(second);
}

ServiceDistribution& PairListDistribution::assignPairs(const ServiceDistribution& other, Reporter& reporter,
                                                       const char* keyword) {
    if (other.kind() != kind()) {
        reporter.report(
            Level::Warning,
            formatText("Zignorowano bledne przypisanie rozkladowi typu '%s' rozkladu innego typu", keyword));
        return *this;
    }
    const auto& source = static_cast<const PairListDistribution&>(other);
    if (&source != this) {
        // Copy first, then replace: a failed copy leaves this object whole.
        std::vector<double> first = source.first_;
        std::vector<double> second = source.second_;
        first_.swap(first);
        second_.swap(second);
    }
    return *this;
}

ServiceDistribution& CoxDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignPairs(other, reporter, "COX");
}
std::unique_ptr<ServiceDistribution> CoxDistribution::createEmpty() const { return makeEmpty<CoxDistribution>(); }

ServiceDistribution& HipDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignPairs(other, reporter, "HIP");
}
std::unique_ptr<ServiceDistribution> HipDistribution::createEmpty() const { return makeEmpty<HipDistribution>(); }

ServiceDistribution& HistDistribution::assign(const ServiceDistribution& other, Reporter& reporter) {
    return assignPairs(other, reporter, "HIST");
}
std::unique_ptr<ServiceDistribution> HistDistribution::createEmpty() const { return makeEmpty<HistDistribution>(); }

// --- the per-object table -----------------------------------------------------

const ServiceTable::Slot* ServiceTable::find(int classIndex) const {
    if (classIndex < 0) return nullptr;
    if (first_.classIndex == classIndex) return &first_;
    if (further_)
        for (const Slot& slot : *further_)
            if (slot.classIndex == classIndex) return &slot;
    return nullptr;
}

const ServiceDistribution* ServiceTable::at(int classIndex) const {
    const Slot* slot = find(classIndex);
    return slot ? slot->distribution.get() : nullptr;
}

ServiceDistribution* ServiceTable::at(int classIndex) {
    const Slot* slot = find(classIndex);
    return slot ? slot->distribution.get() : nullptr;
}

bool ServiceTable::store(int classIndex, std::unique_ptr<ServiceDistribution> d) {
    if (!validClass(classIndex) || at(classIndex) != nullptr) return false;
    if (first_.classIndex < 0) {
        first_ = Slot{classIndex, std::move(d)};
    } else {
        if (!further_) further_ = std::make_unique<std::vector<Slot>>();
        further_->push_back(Slot{classIndex, std::move(d)});
    }
    return true;
}

std::uint32_t ServiceTable::classes() const {
    std::uint32_t present = first_.classIndex < 0 ? 0 : std::uint32_t{1} << first_.classIndex;
    if (further_)
        for (const Slot& slot : *further_) present |= std::uint32_t{1} << slot.classIndex;
    return present;
}

}  // namespace kolt
