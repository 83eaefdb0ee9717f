// The network: its classes, the registry of its objects and the dump that
// syntax-only mode writes.
#include "solver/model/network.h"

#include <algorithm>
#include <cstdint>

#include "solver/core/reporter.h"
#include "solver/core/text.h"
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
    // Only joining sets an object's network.
    if (object.network() == this) {
        reporter_.report(Level::Warning, formatText("Zignorowano powtorne dolaczenie do sieci %s obiektu %s",
                                                    name().c_str(), object.name().c_str()));
        return false;
    }
    registry_.push_back(&object);
    indexName(registry_.size() - 1);
    object.setNetwork(this);
    return true;
}

namespace {

// FNV-1a over the name's bytes, its two halves folded: object names are
// short, and a multiplication a byte costs less than a general string hash.
std::uint32_t nameHash(const std::string& name) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

}  // namespace

void Network::reserveObjects(std::size_t count) {
    registry_.reserve(count);
    owned_.reserve(count);
    std::size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    if (slots <= firstOfName_.size()) return;
    std::vector<NameSlot> old(slots, NameSlot{0, 0});
    old.swap(firstOfName_);
    for (const NameSlot& slot : old)
        if (slot.position != 0) *slotFor(registry_[slot.position - 1]->name(), slot.hash) = slot;
}

// The slot holding `name`, or the empty slot where it would go (linear
// probing; the table is never more than half full).
Network::NameSlot* Network::slotFor(const std::string& name, std::uint32_t hash) const {
    const std::size_t mask = firstOfName_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const NameSlot& slot = firstOfName_[at];
        if (slot.position == 0 || (slot.hash == hash && registry_[slot.position - 1]->name() == name))
            return const_cast<NameSlot*>(&slot);
    }
}

void Network::indexName(std::size_t position) {
    // Registry positions are kept in 32 bits: a file of 4 billion objects
    // would not fit in memory anyway; any beyond are found by no name.
    if (position >= UINT32_MAX) return;
    if (2 * (namesIndexed_ + 1) > firstOfName_.size()) reserveObjects(std::max<std::size_t>(8, 2 * namesIndexed_));
    const std::string& name = registry_[position]->name();
    const std::uint32_t hash = nameHash(name);
    NameSlot* slot = slotFor(name, hash);
    // A later namesake does not replace the first one.
    if (slot->position != 0) return;
    *slot = NameSlot{hash, static_cast<std::uint32_t>(position + 1)};
    ++namesIndexed_;
}

NetObject* Network::findObject(const std::string& name) const {
    if (firstOfName_.empty()) return &NotFoundObject::instance();
    const NameSlot* slot = slotFor(name, nameHash(name));
    return slot->position != 0 ? registry_[slot->position - 1] : &NotFoundObject::instance();
}

// --- dump -------------------------------------------------------------------

void Network::dump(Reporter& list) const {
    dumpHead(list);
    for (const NetObject* object : registry_) object->dump(list);
}

void Network::dumpHead(Reporter& list) const {
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
}

bool Network::writeDump() const {
    // A list of its own: it only ever holds Info lines, so its flush never
    // ends the run, and nothing queued on the run's reporter is mixed in.
    // The lines are written as the objects are dumped, some 64 KiB at a
    // time: the dump of a large file would be larger than the file.
    Reporter list(reporter_.console());
    std::FILE* out = list.stream(Target::Out);
    std::fputc('\n', out);
    dumpHead(list);
    for (const NetObject* object : registry_) {
        object->dump(list);
        if (list.queuedBytes() >= 65536) list.writeQueued(Target::Out);
    }
    list.writeQueued(Target::Out);
    std::fflush(out);
    return !registry_.empty();
}

}  // namespace kolt
