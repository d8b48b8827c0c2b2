#pragma once
// The ten quick-action slots of each party member and the line of text that keeps
// them in a saved game.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "rules/kinds/thing_id.h"
#include "world/actor.h"

class CDRAVActorInfo {
public:
    static constexpr std::int32_t kSlots = 10;
    static constexpr std::int32_t kNoSlot = 10;

    // Slots 0 to 3 become attack, talk, action, empty; slots 4 to 9 take the
    // actor's best spells, powers, potions and wand, highest priority first. The
    // current slot stays.
    void AutoFill(const DRAV::CActor& actor);
    // Use slots whose item the actor no longer carries become empty; spell slots stay.
    void DropMissingItems(const DRAV::CActor& actor);
    // Slot 2 holds what the action picker chose only until another slot is chosen
    // or the party is placed anew; then it is the plain action again.
    void ForgetPickedAction() { m_kind[2] = 20; }

    std::int32_t m_current = kNoSlot;
    // The party's placing in an area (CGame::GetPlacings) that m_current, and the
    // action picker's choice in slot 2, were chosen in.
    std::uint32_t m_placing = 0;
    std::array<std::int32_t, kSlots> m_kind{2, 12, 20, 0, 0, 0, 0, 0, 0, 0};
    std::array<std::string, kSlots> m_spell;
    std::array<std::string, kSlots> m_item;
};

// The first of the actor's backpack items, then worn items, made from the
// template of this key; null when it carries none.
DRAV::CItem* FindCarriedItem(const DRAV::CActor& actor, const std::string& templateKey);

// Keyed by the member's thing id, which no other actor of the game is ever given.
using QuickActionTable = std::map<DRAV::ThingId, std::shared_ptr<CDRAVActorInfo>>;

// The member count, then per member in party order 10 and the ten slots as
// kind keyword, item key or "0", spell key or "0"; every token followed by a
// blank. A member without a record is written as a fresh one; a kind without a
// keyword is code 2. The records of former members follow, when there are any:
// "former", their count, then per record in id order its thing id and the same
// eleven fields; those that would make the text longer than a save keeps
// (kSavedAppLineLimit) are left out.
std::string WriteQuickActionText(const DRAV::ActorList& party, const QuickActionTable& table);
// Reads the whole text into new records for `party` and for the former members it
// names; only a text that reads to its end replaces them in `table`. Code 1 for
// another member count, an unknown keyword, a missing or malformed token, or a
// former member's id that is no actor's or is a member's. A loaded game has
// numbered its actors anew: `loadedId` gives a former member's id now, 0 for one
// gone from the game, whose record is dropped.
void ReadQuickActionText(
    const std::string& text, const DRAV::ActorList& party, QuickActionTable& table,
    const std::function<DRAV::ThingId(DRAV::ThingId)>& loadedId = [](DRAV::ThingId id) { return id; });
