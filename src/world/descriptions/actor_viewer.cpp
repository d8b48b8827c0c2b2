#include "world/descriptions/actor_viewer.h"

#include <algorithm>

#include "world/descriptions/actor_description.h"

namespace DRAV {

const std::string& CActorViewer::GetName() const { return DescribedName(m_actor); }

bool CActorViewer::KnowsSpell(const CSpell& spell) const {
    const SpellList spells = m_actor.GetSpells();
    return std::find(spells.begin(), spells.end(), &spell) != spells.end();
}

}  // namespace DRAV
