#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "world/game.h"
#include "world/order.h"

namespace {

constexpr int kCastKind = 11;

void RequireSlot(int slot) {
    if (slot < 0 || slot >= CDRAVActorInfo::kSlots)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "quick action slot " + std::to_string(slot));
}

CDRAVActorInfo& RecordOf(const QuickActionTable& table, const DRAV::CActor& actor) {
    const auto found = table.find(actor.GetId());
    if (found == table.end() || !found->second) throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
    return *found->second;
}

}  // namespace

const CDRAVActorInfo& CDRAVApp::QuickActionRecord(const DRAV::CActor& actor) const {
    return RecordOf(m_quickActions, actor);
}

CDRAVActorInfo& CDRAVApp::QuickActionRecord(const DRAV::CActor& actor) { return RecordOf(m_quickActions, actor); }

void CDRAVApp::PutAwayChoicesOfEarlierPlacings() {
    // A choice is made for the place the party stands in: once it has been placed
    // anew, by a journey, a wake or a load, nothing is chosen, as when the choice is
    // put away, and the first click does what the figure under it shows.
    const DRAV::CGame* game = m_engine ? m_engine->GetGame().get() : nullptr;
    const std::uint32_t placing = game ? game->GetPlacings() : 0;
    for (const auto& [id, record] : m_quickActions) {
        if (!record || record->m_placing == placing) continue;
        record->m_current = CDRAVActorInfo::kNoSlot;
        record->ForgetPickedAction();
        record->m_placing = placing;
    }
}

int CDRAVApp::GetQuickActionKind(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return QuickActionRecord(actor).m_kind[slot];
}

void CDRAVApp::SetQuickActionKind(const DRAV::CActor& actor, int kind, int slot) {
    RequireSlot(slot);
    QuickActionRecord(actor).m_kind[slot] = kind;
    if (slot == 0) RefreshPortrait(actor);
}

const std::string& CDRAVApp::GetQuickActionSpell(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return QuickActionRecord(actor).m_spell[slot];
}

void CDRAVApp::SetQuickActionSpell(const DRAV::CActor& actor, const std::string& name, int slot) {
    RequireSlot(slot);
    QuickActionRecord(actor).m_spell[slot] = name;
    RefreshPortrait(actor);
}

const std::string& CDRAVApp::GetQuickActionItem(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return QuickActionRecord(actor).m_item[slot];
}

void CDRAVApp::SetQuickActionItem(const DRAV::CActor& actor, const std::string& name, int slot) {
    RequireSlot(slot);
    QuickActionRecord(actor).m_item[slot] = name;
    RefreshPortrait(actor);
}

int CDRAVApp::GetCurrentQuickAction(const DRAV::CActor& actor) const { return QuickActionRecord(actor).m_current; }

int CDRAVApp::GetCurrentQuickActionKind(const DRAV::CActor& actor) const {
    const CDRAVActorInfo& record = QuickActionRecord(actor);
    return record.m_current == CDRAVActorInfo::kNoSlot ? 0 : record.m_kind[record.m_current];
}

void CDRAVApp::SelectQuickAction(const DRAV::CActor& actor, int slot) {
    if (slot < 0 || slot > CDRAVActorInfo::kNoSlot)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "quick action slot " + std::to_string(slot));
    CDRAVActorInfo& record = QuickActionRecord(actor);
    // However a slot is chosen, by its F-key, the bar, a sheet or the action
    // picker, a spell its member cannot cast is refused with the reason, and the
    // choice stays as it was: a cast armed for nothing would make the next click
    // do nothing.
    if (slot != CDRAVActorInfo::kNoSlot && record.m_kind[slot] == kCastKind && m_engine && m_engine->GetGame())
        if (const DRAV::CSpell* spell = DRAV::FindSpell(m_engine->GetModule()->GetSpells(), record.m_spell[slot]))
            if (RefusesOrder(actor, DRAV::CCastOrder(spell->GetKey(), 0))) return;
    if (slot != 2) record.ForgetPickedAction();
    record.m_current = slot == CDRAVActorInfo::kNoSlot || record.m_kind[slot] != 0 ? slot : CDRAVActorInfo::kNoSlot;
    RefreshPortrait(actor);
}

void CDRAVApp::ResetQuickActions(const DRAV::CActor& actor) { QuickActionRecord(actor).AutoFill(actor); }

bool CDRAVApp::HasQuickActions(const DRAV::CActor& actor) const { return m_quickActions.count(actor.GetId()) != 0; }

void CDRAVApp::DropMissingQuickItems(const DRAV::CActor& actor) {
    QuickActionRecord(actor).DropMissingItems(actor);
}
