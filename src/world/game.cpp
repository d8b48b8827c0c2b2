#include "world/game.h"

namespace DRAV {

ThingId CGame::NewThingId(int type) { return m_thingSerialCounter.NewThingId(type); }

}  // namespace DRAV
