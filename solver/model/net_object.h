// Base of every object of the network model, and the routing node that
// sources, stations and the exit carry.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "distribution.h"

namespace kolt {

class Network;
class NetObject;
class Reporter;

// Object type codes.
enum ObjectType : int { kNetworkType = 0, kStationType = 4, kSourceType = 7, kExitType = 8, kNotFoundType = 9 };

struct Transition {
    NetObject* target;
    double probability;
};

// Per class, the ordered list of where a customer goes next.
class RoutingNode {
  public:
    explicit RoutingNode(NetObject& owner) : owner_(owner) {}

    // Appends (target, probability) to the class's list; see the messages in
    // routing.cpp. Returns false when the transition was refused.
    bool addTransition(int classIndex, NetObject* target, double probability, Reporter& reporter);
    // True when every existing class list sums to exactly 1.
    bool checkRoutingSums(Reporter& reporter) const;
    // The class's list, or null when the class has no transition at all.
    const std::vector<Transition>* transitions(int classIndex) const;
    // The classes that have a list, one bit each (bit r for class r).
    std::uint32_t classes() const;

  private:
    struct ClassList {
        int classIndex;  // -1: not in use
        std::vector<Transition> transitions;
    };
    bool routed(int classIndex, const NetObject* target, const std::vector<Transition>& list);
    const ClassList* find(int classIndex) const;
    ClassList* find(int classIndex) { return const_cast<ClassList*>(std::as_const(*this).find(classIndex)); }
    // Calls visit(list) for every class list, in the order the classes first routed.
    template <class Visit>
    void forEachList(Visit visit) const;

    NetObject& owner_;
    // Only the classes that route from here, in the order they first did: a
    // file may hold hundreds of thousands of objects, most with one class,
    // whose list is kept here; the lists of further classes are made apart.
    ClassList first_{-1, {}};
    std::unique_ptr<std::vector<ClassList>> further_;
    // For each target, the classes (one bit each) that already go there, made
    // once some list grows long: the repeated-target test then stays
    // constant-time however long the lists grow; short lists are scanned.
    std::unique_ptr<std::unordered_map<const NetObject*, std::uint32_t>> routedClasses_;
};

class NetObject {
  public:
    explicit NetObject(std::string name);
    virtual ~NetObject();
    NetObject(const NetObject&) = delete;
    NetObject& operator=(const NetObject&) = delete;

    virtual int type() const = 0;
    // Appends the object's description as Info lines to a message list.
    virtual void dump(Reporter& list) const;

    const std::string& name() const { return name_; }
    Network* network() const { return network_; }
    void setNetwork(Network* network) { network_ = network; }
    RoutingNode* routing() { return routing_ ? &*routing_ : nullptr; }
    const RoutingNode* routing() const { return routing_ ? &*routing_ : nullptr; }

    // Routing through the object: like the routing node's operations, but an
    // object without a routing node (a network, the placeholder) refuses with
    // a message instead of being dereferenced.
    bool addTransition(int classIndex, NetObject* target, double probability, Reporter& reporter);
    bool checkRoutingSums(Reporter& reporter) const;

  protected:
    void createRouting() { routing_.emplace(*this); }

  private:
    std::string name_;
    Network* network_ = nullptr;
    // Kept in the object, not allocated apart: one allocation fewer for each
    // of the many objects of a large file.
    std::optional<RoutingNode> routing_;
};

// The object declared with OUT.
class Exit final : public NetObject {
  public:
    explicit Exit(std::string name) : NetObject(std::move(name)) { createRouting(); }
    int type() const override { return kExitType; }
};

// The single placeholder returned for a name that is not declared.
class NotFoundObject final : public NetObject {
  public:
    static NotFoundObject& instance();
    int type() const override { return kNotFoundType; }

  private:
    NotFoundObject() : NetObject("") {}
};

}  // namespace kolt
