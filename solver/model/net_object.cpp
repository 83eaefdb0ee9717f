#include "solver/model/net_object.h"

namespace kolt {

NetObject::NetObject(std::string name) : name_(std::move(name)) {}

NetObject::~NetObject() = default;

// Objects without a description of their own (the exit, the placeholder)
// contribute no lines.
void NetObject::dump(Reporter&) const {}

NotFoundObject& NotFoundObject::instance() {
    static NotFoundObject placeholder;
    return placeholder;
}

}  // namespace kolt
