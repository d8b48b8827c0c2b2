#pragma once
// The rules engine of one running chapter. It owns no world data: the world, the
// party and every counter live in the game, the definitions in the module. One call
// of RunTick is one engine tick (30 ticks make a game second); the application
// calls the set-up, area-change and order entry points below and drains the game's
// events after every tick.
//
// Split by topic: engine.cpp (the tick and the AI pass), engine_instant.cpp (the
// instant-order phase), engine_orders.cpp (continuing orders and movement),
// engine_setup.cpp (module load, new game, new chapter), engine_areas.cpp (the
// state cycle between areas), engine_combat.cpp and engine_damage.cpp (attacks and
// their outcome), engine_effects.cpp (effects in flight), engine_battle.cpp (battle
// flag, stealth, exits), engine_upkeep.cpp (timed state, heartbeats, the dead,
// summoned items), engine_items.cpp (inventory orders), engine_store.cpp (the
// store order), engine_save.cpp (saved games) and engine_phases.cpp (the phases
// and order steps still to be written).

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "engine/script_functions/script_function_lists.h"
#include "rules/module.h"
#include "rules/kinds/attack_info.h"
#include "rules/kinds/save_outcome.h"
#include "rules/module_version_range.h"
#include "world/game.h"
#include "world/order.h"

namespace DRAV {

class CArea;
class CActor;
class CObject;
class CBrain;
class CItem;
class CSpell;
class CAreaEntry;
class CEffect;
class CItem;

class CEngine {
public:
    // Every script the engine runs gets the native drav_* functions.
    CEngine() { InstallNativeScriptFunctions(); }
    // Releases the module, then the game, then the data source.
    ~CEngine();
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;

    const std::shared_ptr<DRAVCommon::CDataFileFactory>& GetDataSource() const { return m_dataSource; }
    const std::shared_ptr<CGame>& GetGame() const { return m_game; }
    const std::shared_ptr<CModule>& GetModule() const { return m_module; }

    // ---- set-up (engine_setup.cpp) ----
    // Reads chapter `chapter` into a fresh module, with the engine's brain reader.
    // On success the module and the source replace the engine's; on any failure
    // (codes 1, 8, 9 from the module) the engine keeps what it had.
    void LoadModule(std::int32_t chapter, const CModuleVersionRange& expected,
                    std::shared_ptr<DRAVCommon::CDataFileFactory> source);
    // A new game waiting to enter the start entry, and its main character, not yet
    // in the party (the character-creation wizard fills it in).
    std::shared_ptr<CActor> NewGame();
    // The created character becomes the whole party.
    void BeginNewGame(const std::shared_ptr<CActor>& main);
    // A new game for this chapter carrying the previous chapter's main character,
    // its belongings, gold, clock, difficulty and imported tags.
    void NewChapterGame(const std::shared_ptr<CGame>& previous);
    void SetupNewActor(CActor& actor);
    void ReadyStartingActor(CActor& actor);
    // Traces a character that has just been made ready.
    void InitNewActor(const CActor& actor) const;

    // ---- the tick (engine.cpp) ----
    void RunTick();
    void RunAI();
    void RunActorTriggers(CArea& area, CActor& actor);
    // Passes the brain's pending tags to the neutral actors nearby that the party
    // has seen; a receiver the tag turns fires its own tags at once.
    void AIFireTags(CActor& actor, CBrain& brain);
    // A neutral target with a brain may turn on being attacked (the attacker may be
    // unknown); when it turns, it fires its tags.
    void RunCombatTrigger(CActor& target, const CActor* attacker);

    // ---- instant orders (engine_instant.cpp) ----
    void RunInstantOrders();

    // ---- continuing orders and movement (engine_orders.cpp) ----
    void RunOrders();
    void PreStandardOrderCheck(CActor& actor, bool& skip);
    void IssueConfusedOrder(CActor& actor);
    void IssueDominatedOrder(CActor& actor);
    // One movement step towards (x, y); true when the actor has arrived. The two
    // further values go to the pathfinder (0 and 0 for a plain walk).
    bool MoveActor(CActor& actor, double x, double y, double halfWidth, double range);
    void RunMoveTalkOrder(CActor& actor, const CMoveTalkOrder& order);
    void RunUseOrder(CActor& actor, const CUseOrder& order, bool instant);
    void RunCastOrder(CActor& actor, const CCastOrder& order);
    void RunReturnOrder(CActor& actor, const COrder& order);
    // Ticks the party needs to walk back to the entry: 6 per unit of the farthest
    // living member's distance. Code 2 when the entry is not in the current area.
    std::uint32_t GetReturnTime(const AreaEntryPoint& entry) const;

    // ---- between areas (engine_areas.cpp) ----
    bool GetAvailableExit(AreaEntryPoint& destination);
    void LeaveArea();
    void RestParty();
    void SetEntry(const AreaEntryPoint& entry);
    void EnterArea();
    void PlacePartyAtEntry(const std::string& entryName);
    // The script of the current area's entry of that name, for the first living member.
    void RunEntryScript(const std::string& entryName);
    void PlacePartyAt(const CAreaEntry& entry);

    // ---- quest tags (engine_tags.cpp) ----
    // Sets the tag to 1, lets the current area apply the tag's patches and, unless
    // `skipCheck`, completes every quest that has become complete.
    void SetTag(const std::string& tag, bool skipCheck);
    // As SetTag with any value; a value of 0 only writes the tag.
    void SetTagValue(const std::string& tag, std::int32_t value, bool skipCheck);
    // Completes and rewards the first completable quest in name order; true when
    // one was completed.
    bool CheckForQuestCompletion2();
    // Sets the quest tag the item's template carries, if any.
    void SetItemTag(const CItem& item);
    // Living members of the party, summoned ones aside, learn what their skills
    // now allow.
    void UpdatePartySpells();

    // ---- wizard console operations (engine_wizard.cpp) ----
    // Messages are notices; a missing item or skill is reported, not thrown.
    void WizardCreateItem(const std::string& name, std::uint32_t count);
    void WizardSetSkill(CActor& actor, const std::string& skillKey);
    // Heals and revives the whole party; a revived member with no free place near
    // the first living one stays out of the area, still waiting to be placed.
    void WizardHealParty();
    // Code 2 when a living member finds no place near the cell.
    void WizardMoveParty(std::uint32_t column, std::uint32_t row);
    void WizardCreateMonster(const std::string& name);
    // ---- inventory orders (engine_items.cpp) ----
    void RunWieldOrder(CActor& actor, const CWieldOrder& order);
    void RunUnwieldOrder(CActor& actor, const CUnwieldOrder& order);
    void RunGetOrder(CActor& actor, const CGetOrder& order);
    void RunDropOrder(CActor& actor, const CDropOrder& order);
    void RunSplitOrder(CActor& actor, const CSplitOrder& order);
    void RunCombineOrder(CActor& actor, const CCombineOrder& order);
    void RunGiveOrder(CActor& actor, const CGiveOrder& order);
    // True when the actor may open the object: no lock, opened before, or picked now
    // (Locks + 50 above the lock, no die); a failed pick keeps the lock for a later try.
    bool CheckObjectLock(CActor& actor, CObject& object);

    // ---- the store order (engine_store.cpp) ----
    void RunStoreOrder(CActor& actor, const CStoreOrder& order);

    // ---- saved games (engine_save.cpp) ----
    // Writes the whole game to `path` as one "save" tree. The tree goes to a
    // temporary file beside `path` that replaces it only once complete, so a failed
    // save leaves the previous file as it was. `quickActions`, when given, is kept
    // as the application's own text.
    void SaveGame(const std::string& path, const CModuleVersionRange& expected, const std::string* quickActions);
    // Reads a saved game of the loaded module's chapter into a new game that
    // replaces the engine's only when the whole file has been read: a failed load
    // (code 7 for another module or an obsolete version, code 1 for bad data or
    // another chapter) leaves the running game untouched. `quickActions` receives
    // the application's text when the file has one.
    void LoadGame(const std::string& path, const CModuleVersionRange& expected, std::string& quickActions);
    void SaveAreaState(DRAVCommon::CDataFileWriter& writer, CArea& area);
    // The party again from the loaded actors, in the order of their party positions.
    void RebuildPartyAfterLoad();

    // ---- phases and order steps of later work (engine_phases.cpp) ----
    // These keep their final names and places in the tick; their bodies are empty
    // until the rules they carry are written.
    void UpdateActorEffects();
    void RunMaintainedPowers();
    void RunOngoingSpells();
    // True while no enemy threatens the party; the tick's battle flag is its negation.
    bool IsPartySafe();
    void RunEffects();
    void RunDetection();
    void RunHeartbeats();
    void RemoveDeadActors();
    void UnsummonItems();
    void RunStealthChecks();
    void CheckForExits();
    void StopSneaking(CActor& actor);
    void RunMeleeAttack(CActor& actor, const CAttackOrder& order);
    void RunRangedAttack(CActor& actor, const CAttackOrder& order);
    void RunUseTileOrder(CActor& actor, const CUseOrder& order);
    void RunUseObjectOrder(CActor& actor, const CUseOrder& order);
    void RunUseItemOrder(CActor& actor, const CUseOrder& order, bool instant);
    // True when the cast is over and the order is done.
    bool CastHelperAttacking(CActor& actor, std::uint32_t target, const CSpell& spell, std::int32_t mode,
                             std::int32_t extra);
    void RunTalkOrder(CActor& actor, const CTalkOrder& order);
    void RunLeavePartyOrder(CActor& actor);
    void RunSpendPointsOrder(CActor& actor, const CSpendPointsOrder& order);
    void RunPowerOrder(CActor& actor, const CPowerOrder& order);

    // ---- attacks (engine_combat.cpp) ----
    void MeleeStrike(CActor& attacker, CActor& target);
    void LaunchRangedAttack(CActor& attacker, CActor& target);
    // A spell carried by an attack, launched at the target's feet.
    void LaunchAttackSpell(const std::string& sourceName, bool fromParty, const CSpell& spell, CActor& target);

    // ---- attack outcome (engine_damage.cpp) ----
    // True when the attack hit, also when the damage was wholly resisted.
    bool ResolveAttack2(CActor& target, const CAttackInfo& info, bool attackerIsParty);
    void RemoveCharmedCheck(CActor& target, bool attackerIsParty);
    // `rollText` and `resistText` may be null.
    void ResolveDamage(const std::string* rollText, const std::string* resistText, CActor& target,
                       const CAttackInfo& info, const CSaveOutcome& outcome, std::int32_t messageKind);
    void ResolveActorDied(const std::string& killerName, CActor& target);

    // ---- effects in flight (engine_effects.cpp) ----
    void ResolveEffectArrival(CEffect& effect, CActor* target);

    // ---- stealth and exits (engine_battle.cpp) ----
    // True when the sneaker stays unseen.
    bool StealthCheckOneActor(CActor& sneaker, bool combat);

    // ---- world upkeep (engine_upkeep.cpp) ----
    void UpdateVisibility();
    void RunPartyHeartbeat();
    void RunNearbyHeartbeat();
    void RunHeartbeatActor(CActor& actor);
    void ResetHeartbeatTimer();
    std::uint32_t GetNextHeartbeatTick() const { return m_nextHeartbeatTick; }
    void CheckEncounterCompletion(CActor& actor);
    void UnsummonMsg(const CActor& actor, const CItem& item);

private:
    // The running game and its current area; code 2 when there is none.
    CGame& Game() const;
    CArea& CurrentArea() const;
    const CModule& Module() const;
    // Code 2 (empty message) unless the game is in `state`.
    void RequireState(std::int32_t state) const;
    void BuyFromStore(CActor& actor, CActor& keeper, const CStoreOrder& order);
    void SellToStore(CActor& actor, CActor& keeper, const CStoreOrder& order);
    void ReadSavedGame(DRAVCommon::CDataFileReader& reader, const CModuleVersionRange& expected, CGame& game,
                       std::string& quickActions) const;
    void RunOneInstantOrder(CActor& actor, const COrder& order);
    void RunOneOrder(CActor& actor, const COrder& order);
    // A notice of the actor's name and `fragment`, for party members only.
    void PushActorMessage(const CActor& actor, const std::string& fragment);
    // The order's target in `area` when it may still be attacked; otherwise the
    // attacker stands down, the order goes and the result is null.
    CActor* FindAttackTarget(CActor& attacker, const CAttackOrder& order, CArea* area);
    // Sets a quest tag and fires the current area's patches that wait for it.
    void SetKillTag(const std::string& tag);
    // The living members, all waiting outside areas, at the entry of `area`: all
    // placed, or none (code 1 for a missing entry, 2 for no room).
    void PlaceParty(CArea& area, const std::string& entryName);
    void PlaceParty(CArea& area, const CAreaEntry& entry);

    // Quests whose completion script failed: reported once, then counted as not complete.
    std::set<std::string> m_failedQuests;
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_dataSource;
    std::shared_ptr<CGame> m_game;
    std::shared_ptr<CModule> m_module;
    std::uint32_t m_nextHeartbeatTick = 0;
};

}  // namespace DRAV
