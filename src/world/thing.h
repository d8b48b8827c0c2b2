#pragma once
// Everything that stands in the world or is carried has a thing id by which
// orders, events, the interface and saved games refer to it.

#include "rules/kinds/thing_id.h"

namespace DRAV {

class CThing {
public:
    virtual ThingId GetId() const { return m_id; }

protected:
    explicit CThing(ThingId id) : m_id(id) {}
    CThing(const CThing&) = default;
    CThing& operator=(const CThing&) = default;
    // Things are owned through shared pointers made for their concrete class and
    // are destroyed as that class, never through this base.
    ~CThing() = default;

private:
    ThingId m_id;
};

}  // namespace DRAV
