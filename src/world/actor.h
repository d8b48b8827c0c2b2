#pragma once
// A creature of the game: a character of the party, a person to talk to or a monster.
// The implementation is split by topic in world/actor/: actor.cpp (construction, talk, small
// operations), actor_save.cpp (the saved block), actor_stats.cpp (derived numbers),
// actor_attack.cpp (attack and its tooltip), actor_defense.cpp (defense and
// resistances), actor_skills.cpp (skills, picks, levels) and actor_spells.cpp
// (casting, powers and timed effects), actor_inventory.cpp (equipment, backpack,
// store and inscribed spells), actor_orders.cpp (order queues, attackers and
// action timers) and actor_motion.cpp (animation, moving, distances).

#include <array>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/graphic_colors.h"
#include "common/graphic_override.h"
#include "world/area/actor_grid.h"
#include "rules/definitions/faction.h"
#include "rules/items/item_attribute.h"
#include "rules/kinds/attack_info.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/kinds/save_outcome.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_list.h"
#include "rules/magic/spell_scaling.h"
#include "rules/monsters/brain_functions.h"
#include "rules/monsters/monster_attack.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/animation_direction.h"
#include "rules/vocabulary/attributes.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/relation.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "rules/vocabulary/status.h"
#include "script/script.h"
#include "world/item.h"
#include "world/order.h"
#include "world/store.h"
#include "world/talk_target.h"
#include "world/thing.h"

namespace DRAVGraph {
class CGraphic;
}

namespace DRAV {

class CArea;
class CGame;
class CModule;
class CObject;
class CPathfind;
class CSavedOrders;

// Where an actor stands in its action cycle; every state but ACTION_DEAD is living.
enum ActionState : std::uint32_t {
    ACTION_DEAD = 0,
    ACTION_PAUSE = 1,
    ACTION_RECOVERING = 2,
    ACTION_IDLE = 3,
    ACTION_WIND_UP = 4,
    ACTION_STRIKE = 5,
};

// The seven places an item can be worn, in saved order.
enum EquipSlot : std::int32_t {
    SLOT_WEAPON = 0,
    SLOT_OFFHAND = 1,
    SLOT_ARMOR = 2,
    SLOT_HELMET = 3,
    SLOT_AMULET = 4,
    SLOT_LEFT_RING = 5,
    SLOT_RIGHT_RING = 6,
};
constexpr int kEquipSlotCount = 7;
// Where FindItem reports an item of the backpack.
constexpr std::int32_t kBackpackPosition = 7;

// What an action speed is asked for.
enum ActionKind : std::int32_t {
    ACTIONKIND_ATTACK = 2,
    ACTIONKIND_CAST = 11,
};

// Bits the actor's attack computation adds to an attack's flags.
enum ActorAttackFlags : std::uint32_t {
    ATTACK_MARKSMAN = 4,
    ATTACK_SNEAK = 8,
    ATTACK_FLANKING = 0x10,
};

using ActorMonsterAttackList = std::vector<std::shared_ptr<CActorMonsterAttack>>;
using EquipmentSlots = std::array<std::shared_ptr<CItem>, kEquipSlotCount>;
using OrderQueue = std::deque<std::shared_ptr<COrder>>;

// Points of character creation to raise an attribute from `value` by one.
std::uint32_t AttributeRaiseCost(std::uint32_t value);

class CActor final : public CThing, public CTalkTarget {
public:
    // A new actor: everything empty or zero, then Init.
    explicit CActor(ThingId id);
    // Reads one "actor" block of a saved game. Items get new ids from `game`, and
    // talk states, heartbeat, brain and store are relinked from the monster
    // definition of the template name. The actor enters `game` (SetGame). Any
    // failure is a CDRAVException naming the file and the element, and no actor is made.
    CActor(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module);
    CActor(const CActor&) = delete;
    CActor& operator=(const CActor&) = delete;

    // Writes the "actor" block, its orders as `module` would load them; changes nothing.
    void Save(DRAVCommon::CDataFileWriter& writer, const CModule& module) const;
    // What a loaded actor was doing, once the whole game it belongs to is read and
    // numbered: its orders and its target come back (CSavedOrders::Restore). Once.
    void RestoreSavedOrders(const CGame& game);

    // Runtime state to its defaults; both constructors call it.
    void Init();

    // The one link from an actor to its running game: the tick counter, the message
    // log and the event queue are reached through it and through nothing else. Set
    // when the actor enters a game (the load constructor does it; whoever makes an
    // actor for a game sets it). Without a game the actor pushes no messages or
    // events and counts tick 0 as now.
    CGame* GetGame() const { return m_game; }
    void SetGame(CGame* game) { m_game = game; }

    // --- Talk target ---
    const std::string& GetName() const override { return m_name; }
    const TalkStateList& GetTalkStates() const override { return m_talkStates; }
    void ClearTalkChoices() override { m_talkChoices.clear(); }
    std::string GetStartStateName() const override { return GetFirstTalkStateName(m_talkStates); }
    TalkChoiceList GetTalkChoices() const override { return m_talkChoices; }

    // --- Identity and placement ---
    CArea* GetArea() const { return m_area; }
    void SetArea(CArea* area) { m_area = area; }
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }
    void SetPosition(double x, double y);
    // Where the area's grid of actors holds the actor; the grid's alone to change.
    CGridFiling& GetGridFiling() { return m_gridFiling; }
    const CGridFiling& GetGridFiling() const { return m_gridFiling; }

    // The direction the actor faces, in radians.
    double GetFacing() const { return m_facing; }
    void SetFacing(double facing) { m_facing = facing; }

    // The footprint radius that reach, adjacency and placement use.
    double GetRadius() const { return m_radius; }
    void SetRadius(double radius);
    double GetSecondSize() const { return m_secondSize; }
    void SetSecondSize(double size) { m_secondSize = size; }

    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& GetSecondName() const { return m_secondName; }
    void SetSecondName(std::string name) { m_secondName = std::move(name); }
    // 0x00RRGGBB.
    std::uint32_t GetNameColor() const { return m_nameColor; }
    void SetNameColor(std::uint32_t color) { m_nameColor = color; }
    const std::string& GetNameWord() const { return m_nameWord; }
    void SetNameWord(std::string word) { m_nameWord = std::move(word); }
    // The monster definition's key; "main" for the main character, who has none.
    const std::string& GetTemplateName() const { return m_templateName; }
    void SetTemplateName(std::string name) { m_templateName = std::move(name); }
    bool IsMainCharacter() const { return m_templateName == "main"; }
    const std::string& GetEncounterName() const { return m_encounterName; }
    std::int32_t GetEncounterIndex() const { return m_encounterIndex; }
    void SetEncounter(std::string name, std::int32_t index);
    // Where its encounter placed it, the post it goes back to when it has left it;
    // none for one saved before posts were kept, whose post is its encounter's place.
    bool HasPost() const { return m_hasPost; }
    double GetPostX() const { return m_postX; }
    double GetPostY() const { return m_postY; }
    void SetPost(double x, double y) {
        m_hasPost = true;
        m_postX = x;
        m_postY = y;
    }
    // Set by the engine when this actor is killed; empty for none.
    const std::string& GetCompletionTag() const { return m_completionTag; }
    void SetCompletionTag(std::string tag) { m_completionTag = std::move(tag); }

    std::uint32_t GetAnimation() const { return m_animation; }
    std::uint32_t GetAnimationVariant() const { return m_animationVariant; }
    double GetAnimationTime() const { return m_animationTime; }
    void SetAnimationTime(double seconds) { m_animationTime = seconds; }

    const std::string& GetGraphicName() const { return m_graphicName; }
    void SetGraphicName(std::string name) { m_graphicName = std::move(name); }
    const std::shared_ptr<DRAVGraph::CGraphicColors>& GetColor() const { return m_colors; }
    void SetColor(std::shared_ptr<DRAVGraph::CGraphicColors> colors) { m_colors = std::move(colors); }
    const std::shared_ptr<DRAVGraph::CGraphic>& GetModel() const { return m_model; }
    void SetModel(std::shared_ptr<DRAVGraph::CGraphic> model) { m_model = std::move(model); }

    // --- Movement ---
    // What moves the actor toward a goal; Init gives every actor a standard one.
    const std::shared_ptr<CPathfind>& GetPathfinder() const { return m_pathfinder; }
    // Where the current move order walks to, once its first step has worked it out;
    // false before. Forgotten with the rest of the walk as the order ends or another
    // is put before it: the ground does not change under a walk, and a load works it
    // out again from the order.
    bool GetWalkGoal(double& x, double& y) const {
        if (!m_walkGoal) return false;
        std::tie(x, y) = *m_walkGoal;
        return true;
    }
    void SetWalkGoal(double x, double y) { m_walkGoal.emplace(x, y); }

    // --- Standing ---
    Relation GetRelation() const { return m_relation; }
    void SetRelation(Relation relation) { m_relation = relation; }
    bool IsPartyMember() const { return m_relation == RELATION_PARTY; }
    bool IsPartyOrFriendly() const { return m_relation == RELATION_PARTY || m_relation == RELATION_FRIENDLY; }
    // On the party's side of a fight: a member, or a friend a spell called, which
    // fights for the party, whoever of it called it, until its time runs out. A
    // friend standing in the world on its own is no one's second.
    bool FightsForTheParty() const { return IsPartyMember() || (IsSummoned() && m_relation == RELATION_FRIENDLY); }
    bool IsHostile() const { return m_relation == RELATION_HOSTILE || m_relation == RELATION_BERSERK; }
    // Not turned on the party yet, but bound to: neutral, with a brain that turns it
    // on whoever comes near, once the tag it waits for, if any, is set.
    bool WaitsToTurn() const;
    // Turned on the party or bound to: a foe, as the party sees it (actor_reset.cpp).
    bool IsFoe() const { return IsHostile() || WaitsToTurn(); }
    std::uint32_t GetPartyIndex() const { return m_partyIndex; }
    void SetPartyIndex(std::uint32_t index) { m_partyIndex = index; }
    const CFaction* GetFaction() const { return m_faction; }
    std::uint32_t GetFactionRank() const { return m_factionRank; }
    void SetFaction(const CFaction* faction, std::uint32_t rank);
    // "No Faction", or "The Ferrymen's Guild 2 (Ferrymistress)".
    std::string GetFactionText() const;

    ActorClass GetClass() const { return m_class; }
    void SetClass(ActorClass actorClass) { m_class = actorClass; }
    Gender GetGender() const { return m_gender; }
    void SetGender(Gender gender) { m_gender = gender; }
    Race GetRace() const { return m_race; }
    void SetRace(Race race) { m_race = race; }
    // MonsterFlags of the definition.
    std::uint32_t GetMonsterFlags() const { return m_monsterFlags; }
    void SetMonsterFlags(std::uint32_t flags) { m_monsterFlags = flags; }

    // --- Levels and attributes ---
    // The race or monster part of the level; formulas use base level + 1.
    std::int32_t GetBaseLevel() const { return m_baseLevel; }
    void SetBaseLevel(std::int32_t level) { m_baseLevel = level; }
    std::uint32_t GetLevel() const { return m_level; }
    void SetLevel(std::uint32_t level) { m_level = level; }
    std::uint32_t GetExperience() const { return m_experience; }
    void SetExperience(std::uint32_t experience) { m_experience = experience; }
    std::uint32_t GetUnspentPoints() const { return m_unspentPoints; }
    void SetUnspentPoints(std::uint32_t points) { m_unspentPoints = points; }
    std::uint32_t GetAttribute(Attribute attribute) const { return m_attributes.at(attribute); }
    void SetAttribute(Attribute attribute, std::uint32_t value) { m_attributes.at(attribute) = value; }
    bool IsSkillEdit() const { return m_skillEdit != 0; }
    void SetSkillEdit(bool edit) { m_skillEdit = edit ? 1 : 0; }
    std::int32_t GetDefenseAdjustment() const { return m_defenseAdjustment; }
    void SetDefenseAdjustment(std::int32_t value) { m_defenseAdjustment = value; }
    std::int32_t GetBaseActionSpeed() const { return m_actionSpeed; }
    void SetBaseActionSpeed(std::int32_t value) { m_actionSpeed = value; }
    std::int32_t GetBaseMovementSpeed() const { return m_movementSpeed; }
    void SetBaseMovementSpeed(std::int32_t value) { m_movementSpeed = value; }
    const ActorMonsterAttackList& GetAttacks() const { return m_attacks; }
    void SetAttacks(ActorMonsterAttackList attacks) { m_attacks = std::move(attacks); }
    std::int32_t GetBaseResistance(DamageCategory category) const { return m_baseResistances.at(category); }
    const SkillSet& GetSkills() const { return m_skills; }

    // --- Statistics (actor_stats.cpp) ---
    // The sum of every active effect's and worn item's modifiers of `index`; within
    // one damage category only the best bonus and the worst penalty count.
    std::int32_t GetModifier(ModifierIndex index) const;
    // (score + modifier - 10) * 5 / 2.
    std::int32_t GetAttributeBonus(Attribute attribute) const;
    std::int32_t GetBaseAttackBonus() const;
    std::int32_t GetSpellAttackBonus() const;
    std::int32_t GetArmorPenalty() const;
    SkillId GetFightingStyle() const;
    SkillId GetWeaponMastery(bool offHand) const;
    bool HasStyleOrMasterySkill() const;
    void GetSneakAttackBonus(std::int32_t& attack, std::int32_t& damage) const;
    std::int32_t GetMagicLevel() const;
    std::int32_t GetMaxSpellTier() const;
    std::int32_t GetSpecialStat(SpecialStat stat) const;
    std::int32_t GetMaxHitPoints() const;
    void SetMaxHitPoints(std::int32_t hitPoints);
    void RollHitPoints();
    // Whether RollHitPoints ran since the stats were last reset: a new hero's hit
    // points are rolled once, when the creation pages choose its class, and the
    // start of the game keeps them. Not saved.
    bool HasRolledHitPoints() const { return m_hitPointsRolled; }
    std::int32_t GetMaxEnergy() const;
    std::int32_t GetEnergy() const;
    void RestoreEnergy(std::int32_t amount);
    std::int32_t GetActionSpeed(std::int32_t actionKind, double* extraSeconds) const;
    double GetAttackTime(std::int32_t actionKind, std::int32_t* speed, double* extraSeconds) const;
    double GetMoveSpeed() const;
    bool CanSee(const CActor& other) const;
    bool IsSpottedBy(const CActor& other, std::int32_t* value) const;
    // The same with this actor's stealth (GetSpecialStat of SPECIAL_STEALTH) at hand
    // and the observer's observation kept in `observation` (worked out on first need
    // while it holds kUnknownStat), for sneakers tested against many observers.
    static constexpr std::int32_t kUnknownStat = INT32_MIN;
    bool IsSpottedBy(const CActor& other, std::int32_t stealth, std::int32_t& observation,
                     std::int32_t* value) const;

    // --- Attack (actor_attack.cpp) ---
    // The attack of hand 0 (main) or 1 (off hand); with `tooltip` its breakdown.
    // An actor with monster attacks uses the attack of that index, or its first when
    // it has no such attack. Code 2 for another hand of an actor without monster attacks.
    CAttackInfo GetAttackBonus(std::int32_t hand, bool flanking, bool sneak, std::string* tooltip) const;

    // --- Defense and resistances (actor_defense.cpp) ---
    std::int32_t GetDefenseClass(bool reduced, std::string* tooltip) const;
    // Categories 0-2 only (code 2 otherwise).
    std::int32_t GetCategoryResistance(const CDamageType& type, std::string* tooltip) const;
    void SetCategoryResistance(const CDamageType& type, std::int32_t total);
    std::int32_t GetDamageResistance(const CDamageType& type) const;
    void GetResistanceText(std::string& text) const;

    // --- Skills and levels (actor_skills.cpp) ---
    bool HasSkill(SkillId skill) const { return m_skills.count(skill) != 0; }
    std::int32_t GetSkillBase(SkillId skill) const;
    std::int32_t GetSkillValue(SkillId skill) const;
    void AddSkill(SkillId skill) { m_skills.insert(skill); }
    void RemoveSkill(SkillId skill) { m_skills.erase(skill); }
    void ResetSkills();
    bool CanLearnSkill(SkillId skill) const;
    bool CanForgetSkill(SkillId skill) const;
    void GetUnspentSkillPicks(std::int32_t& classPicks, std::int32_t& generalPicks) const;
    // Points or skill picks left to spend: the portrait's level-up arrow shows
    // while there are, whichever pages the player has opened and closed.
    bool HasLevelPoints() const;
    void ResetStats();
    // Code 2 without enough unspent points.
    void IncreaseAttribute(Attribute attribute, bool flatCost);
    // Code 2 below 7.
    void DecreaseAttribute(Attribute attribute);
    // The experience the next level needs. The base level counts: an actor made
    // from a definition with one starts past the thresholds of its class levels.
    std::uint32_t GetNextLevelExperience() const;
    // One level when the experience reaches the next threshold, never past 20.
    bool AdvanceLevel();

    // --- Vitals ---
    std::int32_t GetHitPoints() const { return GetMaxHitPoints() - m_damageTaken; }
    std::uint32_t GetBaseHitPoints() const { return m_baseHitPoints; }
    std::int32_t GetDamageTaken() const { return m_damageTaken; }
    void SetDamageTaken(std::int32_t damage);
    std::int32_t GetLastDamage() const { return m_lastDamage; }
    std::uint32_t GetLastDamageTick() const { return m_lastDamageTick; }
    void SetLastDamage(std::int32_t damage, std::uint32_t tick);
    std::int32_t GetHealsReceived() const { return m_healsReceived; }
    void SetHealsReceived(std::int32_t heals) { m_healsReceived = heals; }
    std::int32_t GetEnergyUsed() const { return m_energyUsed; }
    void SetEnergyUsed(std::int32_t used);

    // --- Spells, powers and effects (actor_spells.cpp) ---
    SpellList GetSpells() const { return m_spells; }
    void AddSpell(const CSpell& spell);
    const SpellApplyList& GetActiveEffects() const { return m_activeEffects; }
    bool MeetsSpellRequirements(const CSpell& spell) const;
    std::int32_t GetSpellCastingValue(const CSpell& spell) const;
    std::int32_t GetCasterLevelMargin(const CSpell& spell) const;
    bool CanUsePower(const CSpell& spell) const;
    // The spell an attack of `hand` carries, or null.
    const CSpell* GetAttackSpell(const CModule& module, std::int32_t hand) const;
    // Turns a resolved spell into an active effect; `module` is needed only for
    // ongoing effects (code 2 without it). Where the same source's effect already
    // holds, the new one renews it rather than adding a copy (spell_apply_renewal.h);
    // the effect that holds afterwards is returned.
    std::shared_ptr<CSpellApply> AddSpellEffect(const CSaveOutcome& outcome, const CSpell& spell,
                                                std::int32_t castingValue, std::int32_t casterLevel,
                                                const CSaveOutcome& durationOutcome, const CModule* module,
                                                const std::string& casterName = std::string());
    void AppendEffects(const SpellApplyList& effects);
    void RemoveEffect(const CSpellApply& effect);
    void RemoveCharm();
    bool HasStatus(StatusKind status) const;
    // Starts `power` (ending the current one); `renewed` tells whether the tick lies
    // before the previous power's end.
    void ActivatePower(const CSpell& power, std::uint32_t tick, bool& renewed);
    void EndPower();
    const CSpell* GetCurrentPower() const { return m_currentPower; }
    const CSpellApply* GetPowerEffect() const { return m_powerEffect; }
    std::uint32_t GetPowerEndTick() const { return m_powerEndTick; }
    std::uint32_t GetPowerCooldownTick() const { return m_powerCooldownTick; }
    void SetPowerCooldownTick(std::uint32_t tick) { m_powerCooldownTick = tick; }
    bool IsSneaking() const;
    // Every tick: timed parts that end by `tick` expire, then the action timers run.
    void ExpireEffects(std::uint32_t tick);
    void GetEffectsText(bool withTimes, std::string& text) const;
    std::uint32_t GetSummonEndTick() const { return m_summonEndTick; }
    void SetSummonEndTick(std::uint32_t tick) { m_summonEndTick = tick; }
    bool IsSummoned() const { return m_summonEndTick != 0; }

    // --- Links from the definition ---
    const std::shared_ptr<CStore>& GetStore() const { return m_store; }
    void SetStore(std::shared_ptr<CStore> store) { m_store = std::move(store); }
    bool GetStoreFlag() const { return m_storeFlag != 0; }
    void SetStoreFlag(bool open) { m_storeFlag = open ? 1 : 0; }
    const std::shared_ptr<CScript>& GetHeartbeat() const { return m_heartbeat; }
    void SetHeartbeat(std::shared_ptr<CScript> heartbeat) { m_heartbeat = std::move(heartbeat); }
    const std::shared_ptr<CBrain>& GetBrain() const { return m_brain; }
    // `functions` read and write the brain's saved state; the module's engine gave them.
    void SetBrain(std::shared_ptr<CBrain> brain, const BrainFunctions& functions);
    void SetTalkStates(const TalkStateList& states) { m_talkStates = states; }
    // The relation the brain gives its actor; nothing without a brain (actor_reset.cpp).
    void ApplyBrainRelation();
    // Every active effect ends at once, without messages (actor_reset.cpp).
    void ClearEffects();
    // Full hit points and energy, no effects, idle without target, staying: resting
    // and the wizard's heal bring a member back this way (dead ones too).
    void RestoreFully();

    // --- Action state and orders ---
    ActionState GetActionState() const { return m_actionState; }
    void SetActionState(ActionState state) { m_actionState = state; }
    bool IsAlive() const { return m_actionState != ACTION_DEAD; }
    std::uint32_t GetPauseEndTick() const { return m_pauseEndTick; }
    std::uint32_t GetActionEndTick() const { return m_actionEndTick; }
    void SetActionTimers(std::uint32_t pauseEnd, std::uint32_t actionEnd);
    CActor* GetAttackTarget() const { return m_attackTarget; }
    const std::vector<CActor*>& GetAttackers() const { return m_attackers; }
    std::uint32_t GetTargetChangeTick() const { return m_targetChangeTick; }
    ThingId GetTargetChangeId() const { return m_targetChangeId; }
    // The same target under the id a load gave it.
    void SetTargetChangeId(ThingId id) { m_targetChangeId = id; }
    // Leaves the current target's attackers and joins the new one's (null: none).
    void SetAttackTarget(std::uint32_t tick, CActor* target);
    // Code 2 when `attacker` is not among the attackers.
    void RemoveAttacker(const CActor& attacker);
    void StopAttacking();
    // Empties both order queues whatever the actor's status, and the walk is
    // forgotten.
    void ClearOrders();

    // --- Orders and combat timers (actor_orders.cpp) ---
    // A queue takes no more than kOrderQueueLimit orders; one past it is not queued.
    void PushInstantOrder(std::shared_ptr<COrder> order);
    // Unless `forced`, a confused or dominated actor takes no order.
    void PushOrder(std::shared_ptr<COrder> order, bool forced);
    // As PushOrder (not forced), but ahead of the first queued order of type
    // `before`, if any; an order put in front stops what the actor was doing.
    void PushOrderBefore(OrderType before, std::shared_ptr<COrder> order);
    // The front of each queue, or null.
    std::shared_ptr<COrder> GetInstantOrder() const;
    std::shared_ptr<COrder> GetCurrentOrder() const;
    std::list<std::shared_ptr<COrder>> GetOrders() const;
    // Removes the front order, which must be `order` itself (code 2 otherwise).
    void PopInstantOrder(const COrder& order);
    void PopOrder(const COrder& order);
    // ClearOrders, unless the actor is confused or dominated.
    void CancelOrders();
    // Every attacker stops attacking this actor, and with `pause` pauses from `tick`.
    void ReleaseAttackers(bool pause, std::uint32_t tick);
    // Wind-up from `tick`; `target` becomes the remembered main target.
    void BeginAttack(std::uint32_t tick, const CActor* target);
    // Recovery from `tick`, as long as the action speed of `actionKind` makes it.
    void StartRecovery(std::uint32_t tick, std::int32_t actionKind);
    void EnterPauseState(std::uint32_t tick);
    // Vitals used and combat state back to rest; the actor leaves its target.
    void ResetCombatState();
    bool HasAttackers(std::size_t* count) const;
    // True when `attacker` is the one actor attacking this one.
    bool IsHeldOnlyBy(const CActor& attacker) const;

    // --- Animation and movement (actor_motion.cpp) ---
    void StartAttackAnimation();
    // The same code runs on by `elapsed`; another starts from 0.
    void SetAnimation(std::uint32_t code, double elapsed);
    // Once per tick for a standing actor: now and then a fidget.
    void UpdateFidget();
    // Moves to (x, y), facing the way it went.
    void FinalizeMove(double x, double y);
    // Takes the actor's step: the way it moved since the last step was taken, from
    // where it stood then (GetStepStartX, GetStepStartY) to where it stands, once a
    // tick for each member of the party. Being put somewhere (SetPosition: an
    // arrival, a load) is no step: the actor stood there before it too.
    void TakeStep() {
        m_stepStartX = std::exchange(m_stoodX, m_x);
        m_stepStartY = std::exchange(m_stoodY, m_y);
    }
    double GetStepStartX() const { return m_stepStartX; }
    double GetStepStartY() const { return m_stepStartY; }
    void FaceTowards(const CActor& other);
    void FaceTowardsPoint(double x, double y);
    double DistanceTo(const CActor& other) const;
    // DistanceTo(other) <= range, mostly without the root.
    bool IsWithin(const CActor& other, double range) const;
    double DistanceToPoint(double x, double y) const;
    bool IsNextToObject(const CObject& object) const;
    // Both alive and close enough to strike.
    bool IsWithinReach(const CActor& other) const;

    // Set when the order queues were emptied; the engine and the graphics clear it.
    bool GetOrdersChanged() const { return m_ordersChanged != 0; }
    void SetOrdersChanged(bool changed) { m_ordersChanged = changed ? 1 : 0; }
    const OrderQueue& GetInstantOrders() const { return m_instantOrders; }
    const OrderQueue& GetContinuingOrders() const { return m_continuingOrders; }

    // --- Items ---
    const EquipmentSlots& GetEquipment() const { return m_equipment; }
    // The item worn in `slot`, or null.
    CItem* GetEquipped(EquipSlot slot) const { return m_equipment.at(slot).get(); }
    // The slot takes `item` and the actor holds it; the rules of what fits where
    // are checked by the orders before.
    void SetEquipment(EquipSlot slot, std::shared_ptr<CItem> item);
    const ItemPtrList& GetBackpackItems() const { return m_backpack; }
    const ItemPtrList& GetDropItemList() const { return m_dropItems; }

    // --- Inventory rules (actor_inventory.cpp) ---
    // "Weapon" .. "Right Ring"; code 2 outside 0-6.
    static std::string GetEquipSlotName(std::int32_t slot);
    // Whether the slot takes an item of its kind at all: a weapon in the off hand
    // takes Dual Wield; no requirement of the wearer counts.
    bool FitsSlot(std::int32_t slot, const CItem& item) const;
    // The slot fits, and the attribute requirements hold; a summoned actor wears nothing.
    bool CanEquipInSlot(std::int32_t slot, const CItem& item) const;
    // False, with the item in the way, when a two-handed weapon and the off hand
    // clash. Code 2 for a main-hand item without weapon attribute.
    bool CheckTwoHandedConflict(std::int32_t slot, const CItem& item, CItem** blocking) const;
    bool CanUseItem(const CItem& item) const;
    bool IsProficientWith(const CItem& item) const;
    // With `noWand` no potion or wand. Code 1 for a scroll or wand without spell.
    bool CanUseMagicItem(const CItem& item, bool noWand) const;
    // The slot's item, or null; the slot is empty afterwards. A member's taking out,
    // as RemoveFromBackpack's, tells the shell that an item left it.
    std::shared_ptr<CItem> RemoveEquipment(EquipSlot slot);
    // With `merge` the count joins the first stack of the same template and expiry.
    void AddToBackpack(std::shared_ptr<CItem> item, bool merge);
    // Code 1 when the item is not there.
    std::shared_ptr<CItem> RemoveFromBackpack(const CItem& item);
    ItemPtrList GetBackpack() const { return m_backpack; }
    // The items left on the ground when the actor dies.
    void AddDropItem(std::shared_ptr<CItem> item);
    std::shared_ptr<CItem> RemoveDropItem(const CItem& item);
    ItemPtrList GetDropItems() const { return m_dropItems; }
    // Backpack first (position kBackpackPosition), then slots 0-6; null when none.
    CItem* FindItem(ThingId id, std::int32_t* position) const;
    double GetCarriedWeight() const;
    // What the actor's store offers; empty without a store.
    ItemPtrList GetStoreItems() const;
    // False when there is no store or it does not buy the kind; else half the value, rounded up.
    bool GetStoreBuyPrice(const CItem& item, std::uint32_t& price) const;
    // Code 2 without a store, code 1 when it holds no item of `id`.
    std::shared_ptr<CItem> TakeStoreItem(ThingId id);
    // The graphic name into `name`; with `overrides`, for a party member or an actor
    // with colours, the graphics of the equipped items. Changes nothing.
    bool SetGraphic(std::string& name, DRAVGraph::GraphicOverrideList* overrides) const;
    bool LacksSpell(const CSpell& spell) const;
    // Adds the school and faction spells the actor qualifies for; with `game`,
    // one message each.
    void InscribeScroll(const CModule& module, CGame* game);

    // Whether the actor leaves the party of its own accord, and then without its items.
    bool GetLeaveFlag() const { return m_leave; }
    void SetLeaveFlag(bool leave) { m_leave = leave; }
    bool GetLeaveNoItemsFlag() const { return m_leaveNoItems; }
    void SetLeaveNoItemsFlag(bool leave) { m_leaveNoItems = leave; }

private:
    void AppendTalkChoice(std::shared_ptr<CTalkChoice> choice) override { m_talkChoices.push_back(std::move(choice)); }

    // Sums every modifier anew from the effects and the equipment; whatever
    // changes either calls it, so that a read of a modifier is a look-up. The
    // tick reads each walker's speed and each sneaker's stealth, which seldom change.
    void RecountModifiers();

    // The steps of the load constructor.
    void LoadValues(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module);
    void LoadItems(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module);
    void Relink(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module);

    // The game tick, 0 without a game.
    std::uint32_t GetTick() const;
    void PushMessage(const std::string& text) const;
    // The current order has ended or been put behind another: the next walks from
    // where this one left off, to a goal of its own.
    void ForgetWalk();
    // An actor information event, raised only for party members.
    void PushPartyEvent(std::int32_t code) const;
    // A confused or dominated actor loses its orders when the status comes or goes.
    void DropOrdersForStatus();
    // Neither confused nor dominated.
    bool FollowsOwnWill() const;
    std::uint32_t GetEffectEndTick(const CSpell& spell, const CSpellDuration* duration, std::int32_t casterLevel,
                                   const CSaveOutcome& outcome) const;
    void AddEffectPart(CSpellApply& applied, const CSpellEffect& effect, const CSpell& spell,
                       const CSaveOutcome& outcome, std::int32_t casterLevel,
                       const CSaveOutcome& durationOutcome, const CModule* module);
    // Adds `applied` to the active effects, or renews the held effects it covers, or
    // leaves it out where a held one outlasts it; the effect that holds.
    std::shared_ptr<CSpellApply> TakeHold(std::shared_ptr<CSpellApply> applied);
    void StepActionState(std::uint32_t tick);

    // The two parts of the magic level.
    std::int32_t GetMagicLevelBasePart() const;
    std::int32_t GetMagicLevelClassPart() const;
    // The weapon attribute of the item in `slot`, or null.
    const CItemAttributeWeapon* GetWeaponIn(EquipSlot slot) const;
    // The armor attribute of the worn armor, or of a shield in the off hand.
    const CItemAttributeArmor* GetArmorIn(EquipSlot slot) const;
    CAttackInfo GetMonsterAttack(std::int32_t hand, std::int32_t flankAttack, std::int32_t flankDie,
                                 std::int32_t flankDamage, std::int32_t sneakAttack, std::int32_t sneakDamage,
                                 bool flanking, bool sneak) const;
    // +5 for a Duelist with the Duelist style, with its tooltip line.
    std::int32_t AddDuelistBonus(std::string* tooltip) const;

    CGame* m_game = nullptr;
    CArea* m_area = nullptr;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_facing = 0.0;
    // Where the actor stood as its last step was taken, and where that step
    // began (TakeStep); not saved, as a load puts the actor where it stood.
    double m_stoodX = 0.0;
    double m_stoodY = 0.0;
    double m_stepStartX = 0.0;
    double m_stepStartY = 0.0;
    double m_radius = 0.0;
    double m_secondSize = 0.0;
    CGridFiling m_gridFiling;
    std::string m_name;
    std::string m_secondName;
    std::uint32_t m_nameColor = 0;
    std::string m_nameWord;
    std::string m_templateName;
    std::string m_encounterName;
    std::int32_t m_encounterIndex = 0;
    bool m_hasPost = false;
    double m_postX = 0.0;
    double m_postY = 0.0;
    std::string m_completionTag;
    std::uint32_t m_animation = 0;
    std::uint32_t m_animationVariant = 0;
    double m_animationTime = 0.0;
    std::string m_graphicName;
    std::shared_ptr<DRAVGraph::CGraphicColors> m_colors;
    std::shared_ptr<DRAVGraph::CGraphic> m_model;
    Relation m_relation = RELATION_NEUTRAL;
    std::uint32_t m_partyIndex = 0;
    const CFaction* m_faction = nullptr;
    std::uint32_t m_factionRank = 0;
    ActorClass m_class = CLASS_FIGHTER;
    Gender m_gender = GENDER_MALE;
    Race m_race = RACE_HUMAN;
    std::uint32_t m_monsterFlags = 0;
    std::int32_t m_baseLevel = 0;
    std::uint32_t m_level = 0;
    std::uint32_t m_experience = 0;
    std::uint32_t m_unspentPoints = 0;
    std::array<std::uint32_t, kAttributeCount> m_attributes{};
    std::int32_t m_skillEdit = 0;
    std::int32_t m_defenseAdjustment = 0;
    std::int32_t m_actionSpeed = 0;
    std::int32_t m_movementSpeed = 0;
    ActorMonsterAttackList m_attacks;
    std::array<std::int32_t, 3> m_baseResistances{};
    SkillSet m_skills;
    std::uint32_t m_baseHitPoints = 0;
    bool m_hitPointsRolled = false;
    std::int32_t m_damageTaken = 0;
    std::int32_t m_lastDamage = 0;
    std::uint32_t m_lastDamageTick = 0;
    std::int32_t m_healsReceived = 0;
    std::int32_t m_energyUsed = 0;
    SpellList m_spells;
    SpellApplyList m_activeEffects;
    // Each modifier's sum over the effects and the equipment (RecountModifiers).
    std::array<std::int32_t, 64> m_modifiers{};
    std::uint32_t m_summonEndTick = 0;
    const CSpell* m_currentPower = nullptr;
    const CSpellApply* m_powerEffect = nullptr;
    std::uint32_t m_powerEndTick = 0;
    std::uint32_t m_powerCooldownTick = 0;
    TalkStateList m_talkStates;
    TalkChoiceList m_talkChoices;
    std::shared_ptr<CStore> m_store;
    std::uint8_t m_storeFlag = 0;
    std::shared_ptr<CScript> m_heartbeat;
    std::shared_ptr<CBrain> m_brain;
    BrainFunctions m_brainFunctions;
    std::shared_ptr<CPathfind> m_pathfinder;
    std::optional<std::pair<double, double>> m_walkGoal;
    std::uint8_t m_ordersChanged = 0;
    ActionState m_actionState = ACTION_DEAD;
    std::uint32_t m_pauseEndTick = 0;
    std::uint32_t m_actionEndTick = 0;
    CActor* m_attackTarget = nullptr;
    std::vector<CActor*> m_attackers;
    std::uint32_t m_targetChangeTick = 0;
    ThingId m_targetChangeId = 0;
    // The orders a load read, until the game is whole to find their things in.
    std::shared_ptr<const CSavedOrders> m_savedOrders;
    EquipmentSlots m_equipment;
    ItemPtrList m_backpack;
    ItemPtrList m_dropItems;
    OrderQueue m_instantOrders;
    OrderQueue m_continuingOrders;
    bool m_leave = false;
    bool m_leaveNoItems = false;
};

using ActorList = std::vector<std::shared_ptr<CActor>>;

// Takes `actor` out of `actors` and hands back its shared pointer; code 2 when it
// is not there.
std::shared_ptr<CActor> RemoveActorFromList(ActorList& actors, const CActor& actor);

}  // namespace DRAV
