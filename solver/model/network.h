// The root of the model: the network's name, its customer classes and the
// registry of its objects in the order in which they joined.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net_object.h"

namespace kolt {

class Reporter;

constexpr int kMaxClassNameLength = 20;

enum NetworkKind : int { kOpenNetwork = 0, kClosedNetwork = 1, kMixedNetwork = 2 };

class Network final : public NetObject {
  public:
    Network(std::string name, Reporter& reporter);
    ~Network() override;

    int type() const override { return kNetworkType; }
    // Appends the network line, the class lines and every object's dump.
    void dump(Reporter& list) const override;
    // The network dump of syntax-only mode: gathers the lines in a local
    // list and writes them to standard output. False for an empty registry.
    bool writeDump() const;

    Reporter& reporter() const { return reporter_; }

    // Classes. addClass returns the new index, or -1 after reporting why.
    int addClass(const std::string& name);
    int findClass(const std::string& name) const;
    void setCustomers(int classIndex, int customers);
    int customers(int classIndex) const;
    const std::string& className(int classIndex) const;
    int numberOfClasses() const { return static_cast<int>(classes_.size()); }
    // 0 open (no customers at all), 2 mixed (some class open), 1 closed.
    int kindOfNetwork() const;

    // Objects. createObject makes a station (4), a source (7) or the exit (8)
    // that joins this network; other types create nothing (null).
    NetObject* createObject(int type, const std::string& name);
    bool join(NetObject& object);
    // Room for about this many objects, made before they join.
    void reserveObjects(std::size_t count);
    // First object of that name in registry order, or the NotFoundObject.
    NetObject* findObject(const std::string& name) const;
    const std::vector<NetObject*>& registry() const { return registry_; }

  private:
    // The network line, the class lines and the empty-registry line.
    void dumpHead(Reporter& list) const;

    struct CustomerClass {
        std::string name;
        int customers = 0;
    };

    Reporter& reporter_;
    std::vector<CustomerClass> classes_;
    std::vector<NetObject*> registry_;
    std::vector<std::unique_ptr<NetObject>> owned_;
    // The first member of each name, so that a file of many thousands of
    // objects is read in linear time: an open-addressing table of registry
    // positions with their names' hashes (a probe reads a name only when the
    // hashes agree). Eight bytes a slot, at most half of them in use.
    struct NameSlot {
        std::uint32_t hash;
        std::uint32_t position;  // in the registry, plus 1; 0: empty slot
    };
    std::vector<NameSlot> firstOfName_;
    std::size_t namesIndexed_ = 0;
    NameSlot* slotFor(const std::string& name, std::uint32_t hash) const;
    void indexName(std::size_t position);
};

}  // namespace kolt
