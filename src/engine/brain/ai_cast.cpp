#include "engine/brain/ai_cast.h"

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <utility>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/brain/ai_spell_use.h"
#include "engine/engine.h"
#include "rules/items/item_attribute.h"
#include "rules/items/item_template.h"
#include "rules/module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"
#include "world/tile.h"

namespace DRAV {

CAICast::CAICast(DRAVCommon::CDataFileReader& reader) {
    while (!reader.IsAnyBlockStart() && !reader.AtBlockEnd()) m_spellNames.push_back(reader.ReadWord());
    m_backup = ReadElement(reader);
}

CAICast::CAICast(std::vector<std::string> spellNames, std::shared_ptr<CAI> backup)
    : m_backup(std::move(backup)), m_spellNames(std::move(spellNames)) {
    if (!m_backup) throw CDRAVException(DRAV_ERR_UNEXPECTED, "a cast AI needs a backup AI");
}

std::shared_ptr<CAI> CAICast::Clone() const { return std::make_shared<CAICast>(m_spellNames, m_backup->Clone()); }

void CAICast::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-cast");
    m_nextSpellIndex = reader.ReadUInt();
    m_lastCastTick = reader.ReadUInt();
    m_backup->LoadState(reader);
    reader.EndBlock();
}

void CAICast::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-cast");
    writer.WriteValue(m_nextSpellIndex);
    writer.WriteValue(m_lastCastTick);
    m_backup->SaveState(writer);
    writer.EndBlock();
}

namespace {

constexpr std::array<std::pair<const char*, AutocastCategory>, 6> kCategoryWords{{
    {"summon", AUTOCAST_SUMMON},
    {"hinder", AUTOCAST_HINDER},
    {"aid", AUTOCAST_AID},
    {"heal", AUTOCAST_HEAL},
    {"damage", AUTOCAST_DAMAGE},
    {"maybedamage", AUTOCAST_MAYBEDAMAGE},
}};

std::uint32_t ReadCategories(DRAVCommon::CDataFileReader& reader) {
    std::uint32_t categories = 0;
    while (!reader.AtBlockEnd()) {
        bool known = false;
        for (const auto& [word, category] : kCategoryWords) {
            if (reader.IsWord(word)) {
                categories |= category;
                known = true;
                break;
            }
        }
        if (!known)
            reader.Fail(DRAV_ERR_BAD_DATA,
                        "expected an autocast category (summon, hinder, aid, heal, damage or maybedamage)");
        reader.Advance();
    }
    return categories;
}

}  // namespace

CAIAutocast::CAIAutocast(DRAVCommon::CDataFileReader& reader) : m_categories(ReadCategories(reader)) {}

std::shared_ptr<CAI> CAIAutocast::Clone() const { return std::make_shared<CAIAutocast>(m_categories); }

void CAIAutocast::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-autocast");
    for (std::uint32_t& tick : m_nextTicks) tick = reader.ReadUInt();
    reader.EndBlock();
}

void CAIAutocast::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-autocast");
    for (std::uint32_t tick : m_nextTicks) writer.WriteValue(tick);
    writer.EndBlock();
}

}  // namespace DRAV

namespace DRAV {
namespace {

constexpr std::uint32_t kCastSequenceRestartTicks = 108000;  // one game hour
constexpr std::uint32_t kMaxCooldownTicks = 1200;
constexpr int kCategoryAttempts = 5;
constexpr double kTileSize = 2.5;

bool HasEffect(const CSpell& spell, std::initializer_list<SpellEffectKind> kinds) {
    return std::any_of(spell.GetEffects().begin(), spell.GetEffects().end(), [&](const auto& effect) {
        return std::find(kinds.begin(), kinds.end(), effect->GetKind()) != kinds.end();
    });
}

bool HasRecoveriesLeft(const CActor& actor) {
    const std::int32_t capacity =
        (static_cast<std::int32_t>(actor.GetAttribute(ATTR_DURABILITY)) + actor.GetModifier(MOD_DURABILITY)) / 2;
    return actor.GetHealsReceived() != capacity;
}

void PushCast(CActor& actor, const CSpell& spell, const CActor& target) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues cast order (%s) against %s\n", actor.GetName().c_str(),
               spell.GetName().c_str(), target.GetName().c_str());
    actor.PushOrder(std::make_shared<CCastOrder>(spell.GetKey(), target.GetId()), false);
}

}  // namespace

void CAIBaseCast::IssueOrders(CEngine& engine, CActor& actor) {
    SortSpells(actor);
    IssueCastOrders(engine, actor);
}

void CAIBaseCast::SortSpells(const CActor& actor) {
    CAISpellLists& lists = m_spellLists;
    if (lists.sorted) return;
    lists.sorted = true;
    for (const CSpell* spell : actor.GetSpells()) {
        // The engine drops a cast its caster cannot make; ordered again every tick,
        // it would keep the caster from ever falling back on its blows.
        if (!actor.MeetsSpellRequirements(*spell)) continue;
        if (HasEffect(*spell, {EFFECT_SUMMON}))
            lists.summon.push_back(spell);
        else if (HasEffect(*spell, {EFFECT_DAMAGE, EFFECT_ONGOING}))
            lists.damage.push_back(spell);
        else if (HasEffect(*spell, {EFFECT_HEAL}))
            lists.heal.push_back(spell);
        else if (HasEffect(*spell, {EFFECT_MODIFY, EFFECT_STATUS, EFFECT_RESIST}))
            (spell->IsHostile() ? lists.hinder : lists.aid).push_back(spell);
    }
}

ThingId CAIBaseCast::FindManaPotion(const CActor& actor) {
    ThingId best = 0;
    std::int32_t bestTier = 0;
    for (const auto& item : actor.GetBackpackItems()) {
        if (item->GetTemplate().GetKind() != ITEM_POTION) continue;
        for (const auto& attribute : item->GetTemplate().GetAttributes()) {
            if (attribute->GetType() != ITEMATTR_SPELL) continue;
            const CSpell& spell = static_cast<const CItemAttributeSpell&>(*attribute).GetSpell();
            if (!HasEffect(spell, {EFFECT_MANA}) || spell.GetTier() < bestTier) continue;
            best = item->GetId();
            bestTier = spell.GetTier();
        }
    }
    if (best == 0) m_outOfPotions = true;
    return best;
}

bool CAIBaseCast::ManaCheck(CActor& actor, const CSpell& spell, bool& potionOrdered) {
    potionOrdered = false;
    if (actor.GetEnergy() >= spell.GetEnergyCost()) return true;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s not enough mana to cast %s\n", actor.GetName().c_str(),
               spell.GetName().c_str());
    if (!m_outOfPotions && HasRecoveriesLeft(actor)) {
        const ThingId potion = FindManaPotion(actor);
        if (potion != 0) {
            actor.PushOrder(std::make_shared<CUseOrder>(USE_ITEM, potion, actor.GetId()), false);
            potionOrdered = true;
        }
    }
    return false;
}

CActor* CAIBaseCast::ChooseSpellTarget(CActor& actor, const CSpell& spell, bool& potionOrdered) {
    potionOrdered = false;
    const SpellTargetType kind = spell.GetTargetType();
    if (kind != SPELL_TARGET_SELF && kind != SPELL_TARGET_ACTOR) return nullptr;
    if (!ManaCheck(actor, spell, potionOrdered)) return nullptr;
    if (spell.IsHostile()) return FindTarget(actor, TARGET_ENEMIES, &spell, 0.0);
    if (kind == SPELL_TARGET_SELF) return &actor;
    if (CActor* ally = FindTarget(actor, 0, &spell, 0.0)) return ally;
    const bool selfAffected = spell.CanAffect(actor.IsSummoned(), actor.GetRace(), [&actor](const CDamageType& t) {
        return actor.GetCategoryResistance(t, nullptr);
    });
    return selfAffected ? &actor : nullptr;
}

bool CAIBaseCast::CastTileTargetSpell(CActor& actor, const CSpell& spell) {
    if (spell.GetTargetType() != SPELL_TARGET_TILE) return false;
    bool potionOrdered = false;
    if (!ManaCheck(actor, spell, potionOrdered)) return potionOrdered;
    const CActor* target = FindTarget(actor, TARGET_ENEMIES, nullptr, 0.0);
    CArea* area = actor.GetArea();
    if (!target || !area) return false;
    double x = target->GetX();
    double y = target->GetY();
    if (DRAVCommon::Random() > 0.5) {
        x = (x + actor.GetX()) / 2.0;
        y = (y + actor.GetY()) / 2.0;
    }
    const auto column = static_cast<std::uint32_t>(x / kTileSize);
    const auto row = static_cast<std::uint32_t>(y / kTileSize);
    const CTile* tile = area->GetTile(column, row);
    if (!tile) return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues cast order (%s) at (%d %d)\n", actor.GetName().c_str(),
               spell.GetName().c_str(), static_cast<int>(column), static_cast<int>(row));
    actor.PushOrder(std::make_shared<CCastOrder>(spell.GetKey(), tile->GetId()), false);
    return true;
}

bool CAIBaseCast::CastAtChosenTarget(CActor& actor, const CSpell& spell,
                                     const std::function<bool(const CActor&)>& refuses) {
    bool potionOrdered = false;
    const CActor* target = ChooseSpellTarget(actor, spell, potionOrdered);
    if (!target) return potionOrdered;
    if (refuses(*target)) return false;
    PushCast(actor, spell, *target);
    return true;
}

bool CAIBaseCast::CastActorTargetSpell(CActor& actor, const CSpell& spell) {
    return CastAtChosenTarget(actor, spell, [](const CActor&) { return false; });
}

bool CAIBaseCast::CastModifySpell(CActor& actor, const CSpell& spell) {
    return CastAtChosenTarget(actor, spell, [&spell](const CActor& target) {
        return std::any_of(spell.GetEffects().begin(), spell.GetEffects().end(),
                           [&](const auto& effect) { return EffectChangesNothing(spell, *effect, target); });
    });
}

bool CAIBaseCast::CastHealSpell(CActor& actor, const CSpell& spell) {
    return CastAtChosenTarget(actor, spell, [](const CActor& target) {
        const std::int32_t hitPoints = target.GetActionState() == ACTION_DEAD ? 0 : target.GetHitPoints();
        return hitPoints > target.GetMaxHitPoints() / 2 || !HasRecoveriesLeft(target);
    });
}

void CAICast::IssueCastOrders(CEngine& engine, CActor& actor) {
    const std::uint32_t now = engine.GetGame()->GetTick();
    if (m_lastCastTick == 0 || m_lastCastTick + kCastSequenceRestartTicks < now) m_nextSpellIndex = 0;
    const auto count = static_cast<std::uint32_t>(m_spellNames.size());
    if (m_nextSpellIndex >= count + 1) {
        m_backup->IssueOrders(engine, actor);
        return;
    }
    if (actor.GetCurrentOrder() || actor.GetActionState() == ACTION_PAUSE) return;
    if (m_nextSpellIndex == count) {
        ++m_nextSpellIndex;
        return;
    }
    const SpellMap& spells = engine.GetModule()->GetSpells();
    auto found = spells.find(m_spellNames[m_nextSpellIndex]);
    if (found == spells.end()) return;
    const CSpell& spell = *found->second;
    bool advance = true;
    switch (spell.GetTargetType()) {
    case SPELL_TARGET_SELF:
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s issues cast order (%s)\n", actor.GetName().c_str(),
                   spell.GetKey().c_str());
        actor.PushOrder(std::make_shared<CCastOrder>(spell.GetKey(), 0), false);
        break;
    case SPELL_TARGET_ACTOR:
        advance = CastActorTargetSpell(actor, spell);
        break;
    case SPELL_TARGET_TILE:
        advance = CastTileTargetSpell(actor, spell);
        break;
    default:
        break;
    }
    if (!advance) return;
    ++m_nextSpellIndex;
    m_lastCastTick = now;
}

void CAICast::DropUnknownSpells(const SpellMap& spells, const std::string& owner) {
    std::erase_if(m_spellNames, [&](const std::string& name) {
        if (spells.count(name)) return false;
        DRAV_TRACE(DRAVCommon::TRACE_HIGH, "%s: the cast AI names no spell of the module (%s); skipped\n",
                   owner.c_str(), name.c_str());
        return true;
    });
    m_backup->DropUnknownSpells(spells, owner);
}

void CAIAutocast::IssueCastOrders(CEngine& engine, CActor& actor) {
    const ActionState state = actor.GetActionState();
    if (state == ACTION_PAUSE) {
        if (actor.GetCurrentOrder()) actor.CancelOrders();
        return;
    }
    if (state != ACTION_WIND_UP && state != ACTION_STRIKE && RandomCancel()) {
        actor.CancelOrders();
        return;
    }
    if (actor.GetCurrentOrder()) return;
    const std::uint32_t now = engine.GetGame()->GetTick();
    using CastFunction = bool (CAIBaseCast::*)(CActor&, const CSpell&);
    struct Category {
        std::uint32_t flag;
        const std::vector<const CSpell*>* list;
        CastFunction cast;
        std::uint32_t* timer;
    };
    CAISpellLists& lists = GetSpellLists();
    const std::array<Category, 6> categories{{
        {AUTOCAST_SUMMON, &lists.summon, &CAIBaseCast::CastTileTargetSpell, &m_nextTicks[AUTOCAST_TIMER_SUMMON]},
        {AUTOCAST_HINDER, &lists.hinder, &CAIBaseCast::CastModifySpell, &m_nextTicks[AUTOCAST_TIMER_HINDER]},
        {AUTOCAST_AID, &lists.aid, &CAIBaseCast::CastModifySpell, &m_nextTicks[AUTOCAST_TIMER_AID]},
        {AUTOCAST_MAYBEDAMAGE, &lists.damage, &CAIBaseCast::CastActorTargetSpell,
         &m_nextTicks[AUTOCAST_TIMER_MAYBEDAMAGE]},
        {AUTOCAST_HEAL, &lists.heal, &CAIBaseCast::CastHealSpell, nullptr},
        {AUTOCAST_DAMAGE, &lists.damage, &CAIBaseCast::CastActorTargetSpell, nullptr},
    }};
    for (const Category& category : categories) {
        if (!(m_categories & category.flag)) continue;
        if (category.timer && *category.timer >= now) continue;
        for (int attempt = 0; attempt < kCategoryAttempts && !category.list->empty(); ++attempt) {
            const auto size = static_cast<std::int32_t>(category.list->size());
            const CSpell& spell = *(*category.list)[static_cast<std::size_t>(DRAVCommon::RollDie(size) - 1)];
            if ((this->*category.cast)(actor, spell)) {
                if (category.timer)
                    *category.timer = now + static_cast<std::uint32_t>(
                                                DRAVCommon::RollDie(static_cast<std::int32_t>(kMaxCooldownTicks)));
                return;
            }
        }
    }
    AttackNearest(actor, 0);
}

}  // namespace DRAV
