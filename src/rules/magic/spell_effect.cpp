#include "rules/magic/spell_effect.h"

#include "rules/vocabulary/read_word.h"
#include "rules/magic/spell_effect_dispel.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/magic/spell_effects_vital.h"

namespace DRAV {

std::shared_ptr<CSpellEffect> ReadSpellEffect(DRAVCommon::CDataFileReader& reader, std::int32_t tier) {
    SpellEffectKind kind = ReadParsedWord(reader, "an effect kind", ParseSpellEffectKind);
    switch (kind) {
        case EFFECT_MODIFY: return std::make_shared<CSpellEffectModify>(reader, tier);
        case EFFECT_SUMMON: return std::make_shared<CSpellEffectSummon>(reader, tier);
        case EFFECT_HEAL:
        case EFFECT_MANA: return std::make_shared<CSpellEffectHeal>(kind, reader, tier);
        case EFFECT_DAMAGE: return std::make_shared<CSpellEffectDamage>(reader, tier);
        case EFFECT_ONGOING: return std::make_shared<CSpellEffectOngoing>(reader, tier);
        case EFFECT_TELEPORT: return std::make_shared<CSpellEffectTeleport>(reader);
        case EFFECT_STATUS: return std::make_shared<CSpellEffectStatus>(reader, tier);
        case EFFECT_DISPEL: return std::make_shared<CSpellEffectDispel>(reader);
        case EFFECT_ITEM: return std::make_shared<CSpellEffectItem>(reader, tier);
        case EFFECT_REPULSE: return std::make_shared<CSpellEffectRepulse>();
        case EFFECT_RAISE: return std::make_shared<CSpellEffectRaise>(reader);
        case EFFECT_RESIST: return std::make_shared<CSpellEffectResist>(reader, tier);
    }
    reader.Fail(DRAV_ERR_OUT_OF_RANGE, "unknown effect kind");
}

}  // namespace DRAV
