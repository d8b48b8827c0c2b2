#pragma once
// One thing a spell does to its target. The kinds are read from the "effect"
// elements of a spell definition and shared read-only with the module's spells.

#include <cstdint>
#include <memory>

#include "common/data_file_reader.h"
#include "rules/kinds/tile_effect_kinds.h"

namespace DRAV {

class CSpellEffect {
public:
    explicit CSpellEffect(SpellEffectKind kind) : m_kind(kind) {}
    virtual ~CSpellEffect() = default;

    // True when the effect harms its target; a spell is hostile only when all its effects are.
    virtual bool IsHostile() const = 0;

    SpellEffectKind GetKind() const { return static_cast<SpellEffectKind>(m_kind); }

private:
    std::int32_t m_kind;
};

// Reads the kind word and the kind's contents; the caller has opened the "effect"
// element and closes it afterwards. `tier` is the spell's, 0 when it has none.
// An unknown kind word (also "0") is code 2.
std::shared_ptr<CSpellEffect> ReadSpellEffect(DRAVCommon::CDataFileReader& reader, std::int32_t tier);

}  // namespace DRAV
