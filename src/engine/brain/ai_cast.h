#pragma once
// The casting AIs: a fixed spell sequence with a backup AI, and a random pick by
// spell category with cool-downs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/brain/ai.h"
#include "world/thing.h"

namespace DRAV {

// The spells the caster can cast, by what they do; filled on first use and never again.
struct CAISpellLists {
    bool sorted = false;
    std::vector<const CSpell*> summon;
    std::vector<const CSpell*> damage;
    std::vector<const CSpell*> hinder;
    std::vector<const CSpell*> aid;
    std::vector<const CSpell*> heal;
};

class CAIBaseCast : public CAI {
public:
    // Sorts the caster's spells on first use, then decides.
    void IssueOrders(CEngine& engine, CActor& actor) override;
    virtual void IssueCastOrders(CEngine& engine, CActor& actor) = 0;

    // Whether the actor can pay for `spell`; when it cannot, orders a mana potion
    // (and sets `potionOrdered`) while it has potions and Recoveries left.
    bool ManaCheck(CActor& actor, const CSpell& spell, bool& potionOrdered);
    // The target of a self or actor spell, or null.
    CActor* ChooseSpellTarget(CActor& actor, const CSpell& spell, bool& potionOrdered);
    // Each is true when an order went out this tick: the cast or a mana potion.
    bool CastTileTargetSpell(CActor& actor, const CSpell& spell);
    bool CastActorTargetSpell(CActor& actor, const CSpell& spell);
    bool CastModifySpell(CActor& actor, const CSpell& spell);
    bool CastHealSpell(CActor& actor, const CSpell& spell);

    CAISpellLists& GetSpellLists() { return m_spellLists; }
    const CAISpellLists& GetSpellLists() const { return m_spellLists; }
    // Set once a search for a mana potion found none; lasts for the object's life.
    bool IsOutOfPotions() const { return m_outOfPotions; }
    void SetOutOfPotions() { m_outOfPotions = true; }

protected:
    CAIBaseCast() = default;

private:
    void SortSpells(const CActor& actor);
    // Casts at ChooseSpellTarget's choice unless `refuses` it.
    bool CastAtChosenTarget(CActor& actor, const CSpell& spell, const std::function<bool(const CActor&)>& refuses);
    // The thing id of the best mana potion in the backpack; 0 (and out of potions) when none.
    ThingId FindManaPotion(const CActor& actor);

    CAISpellLists m_spellLists;
    bool m_outOfPotions = false;
};

// Casts its listed spells in order, then lets the backup AI drive the actor.
class CAICast : public CAIBaseCast {
public:
    // Reads the spell keys up to a nested "ai" element, then that element with the backup AI.
    explicit CAICast(DRAVCommon::CDataFileReader& reader);
    // Code 4 without a backup AI.
    CAICast(std::vector<std::string> spellNames, std::shared_ptr<CAI> backup);

    // The clone starts over from the first spell with a clone of the backup AI.
    std::shared_ptr<CAI> Clone() const override;
    // The block "ai-cast": next spell index, tick of the last cast, the backup AI's block.
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    void IssueCastOrders(CEngine& engine, CActor& actor) override;
    void DropUnknownSpells(const SpellMap& spells, const std::string& owner) override;

    const std::vector<std::string>& GetSpellNames() const { return m_spellNames; }
    const std::shared_ptr<CAI>& GetBackup() const { return m_backup; }

    std::uint32_t GetNextSpellIndex() const { return m_nextSpellIndex; }
    void SetNextSpellIndex(std::uint32_t index) { m_nextSpellIndex = index; }
    // 0: never cast.
    std::uint32_t GetLastCastTick() const { return m_lastCastTick; }
    void SetLastCastTick(std::uint32_t tick) { m_lastCastTick = tick; }

private:
    std::uint32_t m_nextSpellIndex = 0;
    std::uint32_t m_lastCastTick = 0;
    std::shared_ptr<CAI> m_backup;
    std::vector<std::string> m_spellNames;
};

enum AutocastCategory : std::uint32_t {
    AUTOCAST_SUMMON = 1,
    AUTOCAST_HINDER = 2,
    AUTOCAST_AID = 4,
    AUTOCAST_HEAL = 8,
    AUTOCAST_DAMAGE = 16,
    AUTOCAST_MAYBEDAMAGE = 32,
};

// The timed categories, as indexes of the autocast AI's cool-down ticks.
enum AutocastTimer : std::size_t {
    AUTOCAST_TIMER_SUMMON = 0,
    AUTOCAST_TIMER_HINDER = 1,
    AUTOCAST_TIMER_AID = 2,
    AUTOCAST_TIMER_MAYBEDAMAGE = 3,
};
constexpr std::size_t kAutocastTimerCount = 4;

// Picks among the caster's own spells by category and falls back to attacking.
class CAIAutocast : public CAIBaseCast {
public:
    // Reads category words up to the end of the element.
    explicit CAIAutocast(DRAVCommon::CDataFileReader& reader);
    explicit CAIAutocast(std::uint32_t categories) : m_categories(categories) {}

    // The clone starts with every cool-down over.
    std::shared_ptr<CAI> Clone() const override;
    // The block "ai-autocast": the earliest ticks for the next summon, hinder, aid
    // and maybedamage spell.
    void LoadState(DRAVCommon::CDataFileReader& reader) override;
    void SaveState(DRAVCommon::CDataFileWriter& writer) const override;

    void IssueCastOrders(CEngine& engine, CActor& actor) override;

    std::uint32_t GetCategories() const { return m_categories; }
    std::uint32_t GetNextTick(AutocastTimer timer) const { return m_nextTicks.at(timer); }
    void SetNextTick(AutocastTimer timer, std::uint32_t tick) { m_nextTicks.at(timer) = tick; }

private:
    std::array<std::uint32_t, kAutocastTimerCount> m_nextTicks{};
    std::uint32_t m_categories = 0;
};

}  // namespace DRAV
