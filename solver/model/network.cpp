// The network: its classes, the registry of its objects and the dump that
// syntax-only mode writes.
#include "solver/model/network.h"

#include <cstdint>

#include "solver/frontend/reporter.h"
#include "solver/frontend/text.h"
#include "solver/model/station.h"

namespace kolt {

Network::Network(std::string name, Reporter& reporter) : NetObject(std::move(name)), reporter_(reporter) {}

Network::~Network() = default;

// --- classes ----------------------------------------------------------------

int Network::addClass(const std::string& name) {
    if (numberOfClasses() >= kMaxClasses) {
        reporter_.report(Level::Error, fixedText("Za duża liczba klas"));
        return -1;
    }
    // The whole new name is compared with the stored, shortened names, so two
    // long names that agree in their first 20 characters are both accepted.
    for (const CustomerClass& existing : classes_) {
        if (existing.name == name) {
            reporter_.report(Level::Error, fixedText("Klasa o podanej nazwie już istnieje"));
            return -1;
        }
    }
    classes_.push_back(CustomerClass{name.substr(0, kMaxClassNameLength), 0});
    return numberOfClasses() - 1;
}

int Network::findClass(const std::string& name) const {
    for (int i = 0; i < numberOfClasses(); ++i) {
        if (classes_[i].name == name) return i;
    }
    return -1;
}

void Network::setCustomers(int classIndex, int customers) {
    if (classIndex >= 0 && classIndex < numberOfClasses()) classes_[classIndex].customers = customers;
}

int Network::customers(int classIndex) const {
    return classIndex >= 0 && classIndex < numberOfClasses() ? classes_[classIndex].customers : 0;
}

const std::string& Network::className(int classIndex) const {
    static const std::string none;
    return classIndex >= 0 && classIndex < numberOfClasses() ? classes_[classIndex].name : none;
}

int Network::kindOfNetwork() const {
    // Summed in 64 bits: 32 classes of large populations must not wrap to 0
    // and pass for an open network.
    std::int64_t total = 0;
    bool someOpen = false;
    for (const CustomerClass& c : classes_) {
        total += c.customers;
        if (c.customers == 0) someOpen = true;
    }
    if (total == 0) return kOpenNetwork;
    return someOpen ? kMixedNetwork : kClosedNetwork;
}

// --- objects ----------------------------------------------------------------

NetObject* Network::createObject(int type, const std::string& name) {
    std::unique_ptr<NetObject> object;
    switch (type) {
        case kStationType: object = std::make_unique<Station>(name); break;
        case kSourceType: {
            auto source = std::make_unique<Station>(name);
            source->setDiscipline(SchedulingKind::SourceMarker);
            object = std::move(source);
            break;
        }
        case kExitType: object = std::make_unique<Exit>(name); break;
        default: return nullptr;
    }
    NetObject* created = object.get();
    owned_.push_back(std::move(object));
    join(*created);
    return created;
}

bool Network::join(NetObject& object) {
    if (object.type() == kNetworkType) {
        reporter_.report(Level::Error, formatText("Niedozwolone zagniezdzenie sieci %s w sieci %s",
                                                  object.name().c_str(), name().c_str()));
        return false;
    }
    if (members_.count(&object) != 0) {
        reporter_.report(Level::Warning, formatText("Zignorowano powtorne dolaczenie do sieci %s obiektu %s",
                                                    name().c_str(), object.name().c_str()));
        return false;
    }
    registry_.push_back(&object);
    members_.insert(&object);
    // A later namesake does not replace the first one.
    firstOfName_.emplace(object.name(), &object);
    object.setNetwork(this);
    return true;
}

NetObject* Network::findObject(const std::string& name) const {
    const auto found = firstOfName_.find(name);
    return found != firstOfName_.end() ? found->second : &NotFoundObject::instance();
}

// --- dump -------------------------------------------------------------------

void Network::dump(Reporter& list) const {
    list.report(Level::Info, formatText("Sieć: \"%s\"", name().c_str()));
    if (classes_.empty()) {
        list.report(Level::Info, fixedText("Brak zdefiniowanych klas"));
    }
    for (const CustomerClass& c : classes_) {
        list.report(Level::Info, formatText(" Klasa: \"%s\" (%d klientów)", c.name.c_str(), c.customers));
    }
    if (registry_.empty()) {
        list.report(Level::Info, fixedText("Lista obiektow sieci jest pusta"));
    }
    for (const NetObject* object : registry_) object->dump(list);
}

bool Network::writeDump() const {
    // A list of its own: it only ever holds Info lines, so its flush never
    // ends the run, and nothing queued on the run's reporter is mixed in.
    Reporter list(reporter_.console());
    dump(list);
    list.flush(Target::Out);
    return !registry_.empty();
}

}  // namespace kolt
