#include "world/descriptions/actor_viewer.h"

#include <algorithm>

namespace DRAV {

bool CActorViewer::KnowsSpell(const CSpell& spell) const {
    const SpellList spells = m_actor.GetSpells();
    return std::find(spells.begin(), spells.end(), &spell) != spells.end();
}

}  // namespace DRAV
