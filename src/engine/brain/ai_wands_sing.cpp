#include "engine/brain/ai_wands_sing.h"

#include <string>
#include <utility>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/brain/ai_spell_use.h"
#include "rules/items/item_template.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/item.h"
#include "world/order.h"
#include "world/tile.h"

namespace DRAV {
namespace {

std::shared_ptr<CAI> RequireBackup(std::shared_ptr<CAI> backup, const char* stateBlock) {
    // The block is "ai-" and the AI's type word.
    if (!backup)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, std::string("a ") + (stateBlock + 3) + " AI needs a backup AI");
    return backup;
}

}  // namespace

CAIWithBackup::CAIWithBackup(DRAVCommon::CDataFileReader& reader, const char* stateBlock)
    : m_backup(ReadElement(reader)), m_stateBlock(stateBlock) {}

CAIWithBackup::CAIWithBackup(std::shared_ptr<CAI> backup, const char* stateBlock)
    : m_backup(RequireBackup(std::move(backup), stateBlock)), m_stateBlock(stateBlock) {}

void CAIWithBackup::DropUnknownSpells(const SpellMap& spells, const std::string& owner) {
    m_backup->DropUnknownSpells(spells, owner);
}

void CAIWithBackup::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock(m_stateBlock);
    m_backup->LoadState(reader);
    reader.EndBlock();
}

void CAIWithBackup::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock(m_stateBlock);
    m_backup->SaveState(writer);
    writer.EndBlock();
}

CAIWands::CAIWands(DRAVCommon::CDataFileReader& reader) : CAIWithBackup(reader, "ai-wands") {}

CAIWands::CAIWands(std::shared_ptr<CAI> backup) : CAIWithBackup(std::move(backup), "ai-wands") {}

std::shared_ptr<CAI> CAIWands::Clone() const { return std::make_shared<CAIWands>(m_backup->Clone()); }

CAISing::CAISing(DRAVCommon::CDataFileReader& reader) : CAIWithBackup(reader, "ai-sing") {}

CAISing::CAISing(std::shared_ptr<CAI> backup) : CAIWithBackup(std::move(backup), "ai-sing") {}

std::shared_ptr<CAI> CAISing::Clone() const { return std::make_shared<CAISing>(m_backup->Clone()); }

void CAIWands::IssueOrders(CEngine& engine, CActor& actor) {
    if (m_outOfWands) m_backup->IssueOrders(engine, actor);
    if (actor.GetActionState() == ACTION_PAUSE) {
        if (actor.GetCurrentOrder()) actor.CancelOrders();
        return;
    }
    if (actor.GetActionState() != ACTION_WIND_UP && actor.GetActionState() != ACTION_STRIKE && RandomCancel()) {
        actor.CancelOrders();
        return;
    }
    if (actor.GetCurrentOrder()) return;
    const CActor* target = FindTarget(actor, TARGET_ENEMIES, nullptr, 0.0);
    bool workable = false;
    const CItem* wand = nullptr;
    ThingId aim = 0;
    for (const auto& item : actor.GetBackpackItems()) {
        // A wand the actor cannot work would be refused every tick, and the actor
        // would never fall back to its backup AI.
        if (item->GetTemplate().GetKind() != ITEM_WAND || !actor.CanUseMagicItem(*item, false)) continue;
        workable = true;
        if (!target || (wand && item->GetTemplate().GetValue() <= wand->GetTemplate().GetValue())) continue;
        const ThingId at = WandAim(*item, actor, *target);
        if (at == 0) continue;
        wand = item.get();
        aim = at;
    }
    if (!workable) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s out of wands, switch to backup AI\n", actor.GetName().c_str());
        m_outOfWands = true;
        return;
    }
    if (!target) return;
    if (!wand) {
        // Wands left, but none would change anything: the backup AI fights on, and
        // the wands are looked at again whenever it leaves the actor idle.
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s has no wand worth using on %s, switch to backup AI\n",
                   actor.GetName().c_str(), target->GetName().c_str());
        if (!std::exchange(m_outOfWands, true)) m_backup->IssueOrders(engine, actor);
        return;
    }
    m_outOfWands = false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues use wand (%s) order against %s\n", actor.GetName().c_str(),
               wand->GetTemplate().GetName().c_str(), target->GetName().c_str());
    actor.PushOrder(std::make_shared<CUseOrder>(USE_ITEM, wand->GetId(), aim), false);
}

ThingId CAIWands::WandAim(const CItem& wand, const CActor& actor, const CActor& target) {
    const CSpell& spell = RequireItemSpell(wand);
    if (SpellChangesNothing(spell, spell.GetTargetType() == SPELL_TARGET_SELF ? actor : target)) return 0;
    if (spell.GetTargetType() != SPELL_TARGET_TILE) return target.GetId();
    // A wand of a tile spell is aimed at the cell the enemy stands in: an actor is no
    // target for it, and the cast would fail.
    const CArea* area = target.GetArea();
    const CTile* tile = area ? area->GetTile(static_cast<std::uint32_t>(target.GetX() / 2.5),
                                             static_cast<std::uint32_t>(target.GetY() / 2.5))
                             : nullptr;
    return tile ? tile->GetId() : 0;
}

void CAISing::IssueOrders(CEngine& engine, CActor& actor) {
    m_backup->IssueOrders(engine, actor);
    if (!m_songChosen) {
        const CSpell* best = nullptr;
        for (const CSpell* spell : actor.GetSpells()) {
            if (!spell->HasFlag(SPELL_POWER) || spell->GetSchool() == SKILL_SNEAK ||
                spell->GetSaveDamageType().category != DAMAGE_MUSICAL || !actor.MeetsSpellRequirements(*spell) ||
                !actor.CanUsePower(*spell))
                continue;
            if (!best || spell->GetEnergyCost() >= best->GetEnergyCost()) best = spell;
        }
        SetChosenSong(best);
    }
    if (m_song && !actor.GetCurrentPower() && m_song->GetEnergyCost() <= actor.GetEnergy())
        actor.PushInstantOrder(std::make_shared<CPowerOrder>(m_song->GetKey()));
}

}  // namespace DRAV
