#include "Object.h"

namespace vx {

namespace {
int next_id = 0;
}

Object::Object() : m_id(next_id++), m_type("Object"), m_is_active(true) {}

Object::~Object() = default;

int Object::getId() const { return m_id; }

void Object::setType(std::string new_type) { m_type = new_type; }

std::string Object::getType() const { return m_type; }

void Object::setActive(bool active) { m_is_active = active; }

bool Object::isActive() const { return m_is_active; }

int Object::eventHandler(const Event *) { return 0; }

} // namespace vx
