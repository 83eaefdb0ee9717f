// Routing: per object and class, the ordered list of next objects with the
// probability of going there, and the check that each list sums to 1.
#include <cmath>
#include <cstdint>

#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/model/net_object.h"

namespace kolt {
namespace {

bool validClass(int classIndex) { return classIndex >= 0 && classIndex < kMaxClasses; }

void reportBadClass(int classIndex, const NetObject& owner, Reporter& reporter) {
    reporter.report(Level::Error,
                    formatText("Nieprawidlowy numer klasy (%d) w obiekcie %s", classIndex, owner.name().c_str()));
}

// Admits no double other than 1 itself: a class's probabilities must add up
// to exactly 1 in the order they were given.
constexpr double kSumTolerance = 1.7e-308;

// Lists up to this long are searched for a repeated target; longer ones get
// the map of routed classes.
constexpr std::size_t kScannedTargets = 16;

}  // namespace

template <class Visit>
void RoutingNode::forEachList(Visit visit) const {
    if (first_.classIndex < 0) return;
    visit(first_);
    if (further_)
        for (const ClassList& l : *further_) visit(l);
}

const RoutingNode::ClassList* RoutingNode::find(int classIndex) const {
    if (classIndex < 0) return nullptr;
    if (first_.classIndex == classIndex) return &first_;
    if (further_)
        for (const ClassList& l : *further_)
            if (l.classIndex == classIndex) return &l;
    return nullptr;
}

bool RoutingNode::routed(int classIndex, const NetObject* target, const std::vector<Transition>& list) {
    if (routedClasses_) {
        const auto found = routedClasses_->find(target);
        return found != routedClasses_->end() && (found->second & (std::uint32_t{1} << classIndex)) != 0;
    }
    for (const Transition& t : list)
        if (t.target == target) return true;
    return false;
}

bool RoutingNode::addTransition(int classIndex, NetObject* target, double probability, Reporter& reporter) {
    if (!validClass(classIndex)) {
        reportBadClass(classIndex, owner_, reporter);
        return false;
    }
    // An undeclared target was already reported where its name was read.
    if (target == nullptr || target == &NotFoundObject::instance()) return false;

    const std::uint32_t classBit = std::uint32_t{1} << classIndex;
    ClassList* entry = find(classIndex);
    if (entry && routed(classIndex, target, entry->transitions)) {
        reporter.report(Level::Warning, formatText("Zignorowano powtorna tranzycje %s -> %s", owner_.name().c_str(),
                                                   target->name().c_str()));
        return true;
    }
    // Written so that a NaN probability is refused as well.
    if (!(probability >= 0.0 && probability <= 1.0)) {
        reporter.report(Level::Error, formatText("Bledne prawdopodobienstwo przejscia %s -> %s", owner_.name().c_str(),
                                                 target->name().c_str()));
        return false;
    }
    if (!entry) {
        if (first_.classIndex < 0) {
            first_.classIndex = classIndex;
            entry = &first_;
        } else {
            if (!further_) further_ = std::make_unique<std::vector<ClassList>>();
            entry = &further_->emplace_back(ClassList{classIndex, {}});
        }
    }
    entry->transitions.push_back(Transition{target, probability});
    if (!routedClasses_ && entry->transitions.size() > kScannedTargets) {
        routedClasses_ = std::make_unique<std::unordered_map<const NetObject*, std::uint32_t>>();
        forEachList([&](const ClassList& l) {
            for (const Transition& t : l.transitions) (*routedClasses_)[t.target] |= std::uint32_t{1} << l.classIndex;
        });
    } else if (routedClasses_) {
        (*routedClasses_)[target] |= classBit;
    }
    return true;
}

bool RoutingNode::checkRoutingSums(Reporter& reporter) const {
    bool summed = true;
    forEachList([&](const ClassList& l) {
        if (!summed) return;
        double sum = 0.0;
        for (const Transition& t : l.transitions) sum += t.probability;
        if (!(std::fabs(sum - 1.0) <= kSumTolerance)) {
            reporter.report(Level::Error, formatText("Bledna suma prawdopodobienstw w %s", owner_.name().c_str()));
            summed = false;
        }
    });
    return summed;
}

const std::vector<Transition>* RoutingNode::transitions(int classIndex) const {
    const ClassList* list = find(classIndex);
    return list ? &list->transitions : nullptr;
}

std::uint32_t RoutingNode::classes() const {
    std::uint32_t present = 0;
    forEachList([&](const ClassList& l) { present |= std::uint32_t{1} << l.classIndex; });
    return present;
}

bool NetObject::addTransition(int classIndex, NetObject* target, double probability, Reporter& reporter) {
    if (!validClass(classIndex)) {
        reportBadClass(classIndex, *this, reporter);
        return false;
    }
    if (!routing_) {
        reporter.report(Level::Error, formatText("Brak wezla tranzycyjnego w obiekcie %s", name().c_str()));
        return false;
    }
    return routing_->addTransition(classIndex, target, probability, reporter);
}

bool NetObject::checkRoutingSums(Reporter& reporter) const {
    // Nothing to add up without a routing node.
    return routing_ ? routing_->checkRoutingSums(reporter) : true;
}

}  // namespace kolt
