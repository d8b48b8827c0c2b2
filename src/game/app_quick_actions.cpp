#include "common/exception.h"
#include "game/app.h"

namespace {

CDRAVActorInfo& RecordOf(const QuickActionTable& table, const DRAV::CActor& actor) {
    const auto found = table.find(actor.GetId());
    if (found == table.end() || !found->second) throw CDRAVException(DRAV_ERR_UNEXPECTED, "");
    return *found->second;
}

void RequireSlot(int slot) {
    if (slot < 0 || slot >= CDRAVActorInfo::kSlots)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "quick action slot " + std::to_string(slot));
}

}  // namespace

int CDRAVApp::GetQuickActionKind(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return RecordOf(m_quickActions, actor).m_kind[slot];
}

void CDRAVApp::SetQuickActionKind(const DRAV::CActor& actor, int kind, int slot) {
    RequireSlot(slot);
    RecordOf(m_quickActions, actor).m_kind[slot] = kind;
    if (slot == 0) RefreshPortrait(actor);
}

const std::string& CDRAVApp::GetQuickActionSpell(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return RecordOf(m_quickActions, actor).m_spell[slot];
}

void CDRAVApp::SetQuickActionSpell(const DRAV::CActor& actor, const std::string& name, int slot) {
    RequireSlot(slot);
    RecordOf(m_quickActions, actor).m_spell[slot] = name;
    RefreshPortrait(actor);
}

const std::string& CDRAVApp::GetQuickActionItem(const DRAV::CActor& actor, int slot) const {
    RequireSlot(slot);
    return RecordOf(m_quickActions, actor).m_item[slot];
}

void CDRAVApp::SetQuickActionItem(const DRAV::CActor& actor, const std::string& name, int slot) {
    RequireSlot(slot);
    RecordOf(m_quickActions, actor).m_item[slot] = name;
    RefreshPortrait(actor);
}

int CDRAVApp::GetCurrentQuickAction(const DRAV::CActor& actor) const { return RecordOf(m_quickActions, actor).m_current; }

int CDRAVApp::GetCurrentQuickActionKind(const DRAV::CActor& actor) const {
    const CDRAVActorInfo& record = RecordOf(m_quickActions, actor);
    return record.m_current == CDRAVActorInfo::kNoSlot ? 0 : record.m_kind[record.m_current];
}

void CDRAVApp::SelectQuickAction(const DRAV::CActor& actor, int slot) {
    if (slot < 0 || slot > CDRAVActorInfo::kNoSlot)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "quick action slot " + std::to_string(slot));
    CDRAVActorInfo& record = RecordOf(m_quickActions, actor);
    // Whatever the action picker put into slot 2 lasts only until another slot is chosen.
    if (slot != 2) record.m_kind[2] = 20;
    record.m_current = slot == CDRAVActorInfo::kNoSlot || record.m_kind[slot] != 0 ? slot : CDRAVActorInfo::kNoSlot;
    RefreshPortrait(actor);
}

void CDRAVApp::ResetQuickActions(const DRAV::CActor& actor) { RecordOf(m_quickActions, actor).AutoFill(actor); }

bool CDRAVApp::HasQuickActions(const DRAV::CActor& actor) const { return m_quickActions.count(actor.GetId()) != 0; }

void CDRAVApp::DropMissingQuickItems(const DRAV::CActor& actor) {
    RecordOf(m_quickActions, actor).DropMissingItems(actor);
}
