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
// store order), engine_save.cpp (saved games), engine_tags.cpp (quest tags),
// engine_talk.cpp (talk, leave-party and spend-points orders), engine_use.cpp (use
// orders), engine_casting.cpp, engine_spells.cpp and engine_spell_effects.cpp
// (casting and what spells do), engine_powers.cpp (powers and script magic),
// engine_traps.cpp (detection and traps), engine_teleport.cpp (moving actors by
// magic) and engine_wizard.cpp (the wizard console). The monster AI and the brain
// live in brain/.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

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
class CProximityWatchers;
class CItem;
struct OrderThings;
struct OrderVerdict;
class CSpell;
class CSpellEffectSummon;
class CSpellEffectHeal;
class CSpellEffectDamage;
class CSpellEffectDispel;
class CSpellEffectItem;
class CSpellEffectRaise;
class CSpellEffectTeleport;
class CSpellWords;
struct CSpellSender;
class CObject;
class CAreaEntry;
class CAreaExit;
class CTile;
class CTrap;
class CMasterTileDoor;
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
    // The game ends; the module stays loaded for the next one.
    void ReleaseGame() { m_game.reset(); }
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
    // True when a trigger turned the actor.
    bool RunActorTriggers(CProximityWatchers& watchers, CActor& actor);
    // Passes the brain's pending tags to the neutral actors nearby that the party
    // has seen; a receiver the tag turns fires its own tags at once.
    void AIFireTags(CActor& actor, CBrain& brain);
    // A neutral target with a brain may turn on being attacked (the attacker may be
    // unknown); when it turns, it fires its tags.
    void RunCombatTrigger(CActor& target, const CActor* attacker);
    // Every strike, shot or hostile spell of `attacker` at `target`: the target's
    // combat trigger; a neutral that strikes at the party becomes its enemy and
    // fires its tags; the party striking first, or anyone striking a foe that holds
    // back, ends the hold; a blow between the party and its foes puts a fight under way.
    void RunStrikeTriggers(CActor& attacker, CActor& target);
    // Whether a blow of `attacker` at `target` passes between the party, a friend it
    // called with it (CActor::FightsForTheParty), and its foes.
    static bool IsBlowOfTheFight(const CActor& attacker, const CActor& target);

    // ---- instant orders (engine_instant.cpp) ----
    void RunInstantOrders();
    // One instant order of `actor`, as the instant phase runs it: carried out on
    // what the order rule found for it, or, turned down, told and not run.
    void RunInstantOrder(CActor& actor, const COrder& order);

    // ---- dropped orders (engine_dropped_orders.cpp) ----
    // An order the rule turned down is traced, and a party member's is told in the
    // log: who, what and why. Others' orders come from their own thinking, which
    // may give one again at every turn, and go unsaid.
    void TellDroppedOrder(const CActor& actor, const COrder& order, const OrderVerdict& verdict);

    // ---- continuing orders and movement (engine_orders.cpp) ----
    void RunOrders();
    void PreStandardOrderCheck(CActor& actor, bool& skip);
    void IssueConfusedOrder(CActor& actor);
    void IssueDominatedOrder(CActor& actor);
    // One movement step towards (x, y); true when the actor has arrived. The two
    // further values go to the pathfinder (0 and 0 for a plain walk).
    bool MoveActor(CActor& actor, double x, double y, double halfWidth, double range);
    // The same, where the actor may step towards `closingOn` although it attacks
    // her: closing on the only one holding her breaks away from nobody.
    bool MoveActorClosingOn(CActor& actor, const CActor* closingOn, double x, double y, double halfWidth,
                            double range);
    void RunMoveTalkOrder(CActor& actor, const CMoveTalkOrder& order);
    void RunUseOrder(CActor& actor, const CUseOrder& order, bool instant);
    void RunCastOrder(CActor& actor, const CCastOrder& order);
    void RunReturnOrder(CActor& actor, const COrder& order);
    // In battle nobody goes back to the entrance, nor when the calendar has no room
    // for the walk's time: true, with the refusal in the message log, for the
    // interface to leave everything else as it was.
    bool RefuseReturn();
    // Whether the party can go back to `entry`: an entry of the current area.
    bool IsReturnEntry(const AreaEntryPoint& entry) const;
    // Ticks the party needs to walk back to the entry: 6 per unit of the farthest
    // living member's distance. Code 2 when the entry is not in the current area.
    std::uint32_t GetReturnTime(const AreaEntryPoint& entry) const;

    // ---- between areas (engine_areas.cpp) ----
    bool GetAvailableExit(AreaEntryPoint& destination);
    // Code 1 naming the place unless the module has an area of that name with an
    // entry of that name. The current area answers for itself; any other is looked
    // up in its file, which is not built for it.
    void CheckAreaEntry(const AreaEntryPoint& place) const;
    // A journey's destination: with an entry, as CheckAreaEntry; without one, the
    // map of that name, which is loaded (and kept) and returned.
    CMap2* CheckJourney(const AreaEntryPoint& destination);
    // Where a pending journey (states 1 and 3) or rest (state 2) leads, checked
    // while the party still stands where it can stay: the map of a journey through
    // a map (loaded and kept), else null once the area and its entry are known; on
    // a map the place `chosen` on it, when given, is checked as the destination.
    // Code 1 naming the place when the module cannot take the party there,
    // CCalendarSpent when the hours of the rest and the journey cannot pass
    // (RequireTimeForJourney), and CThingSerialsSpent when the game has too few
    // serials left for the journey (RequireSerialsForJourney); the game is then as
    // it was. LeaveArea runs it first.
    CMap2* CheckDestination(const AreaEntryPoint& chosen = {});
    // A journey from `fromArea` (empty: none that takes time) into `destination`,
    // with a rest before it when `resting`, sets out only while the calendar has
    // room for its hours (CGame::RequireTimeToPass).
    void RequireTimeForJourney(const std::string& destination, const std::string& fromArea, bool resting) const;
    // A journey sets out only while the game can number all that building the area
    // `destination` may take and, should that fail, all that rebuilding `wayBack`,
    // the area the party goes back to, may take (either empty: none). Otherwise
    // CThingSerialsSpent, and a save, loaded, numbers the game's things anew.
    void RequireSerialsForJourney(const std::string& destination, const std::string& wayBack);
    // A pending journey or rest given up: the game plays on where it is.
    void CancelTravel();
    void LeaveArea();
    void RestParty();
    void SetEntry(const AreaEntryPoint& entry);
    // A failing entry script (code 6) is thrown once the party stands in the area
    // and its first tick has run, so that the game can go on.
    void EnterArea();
    // After an entry that failed: the party goes back into the area it left, each
    // living member as near as it can to the cell where it stood, and the game
    // plays on there. Code 2 when no entry failed or no area was left (a party
    // wiped out has none), code 1 when the area no longer loads; the party then
    // waits as before.
    void ReturnToLastArea();
    // A party wiped out (state 2) that the game cannot take to its resurrection
    // point rests where it stands, and every member wakes about where it fell; the
    // foes hold back as at any wake. Code 2 in another state, or when there is no
    // room; the party then waits outside the area. CCalendarSpent, the party as it
    // was, when the rest cannot pass.
    void WakeWhereFallen();
    void PlacePartyAtEntry(const std::string& entryName);
    // The living members of the party standing in `area` are taken to its entry of
    // that name. With no room there for all of them, each stays where it stood, in
    // the area's order as before, and the reason is returned; "" once they are there.
    std::string MovePartyToEntry(CArea& area, const std::string& entryName);
    // The script of the current area's entry of that name, for the first living member.
    void RunEntryScript(const std::string& entryName);
    void PlacePartyAt(const CAreaEntry& entry);

    // ---- foes holding back from a party arriving, back from a wipe-out or
    // shown a box (engine_wake.cpp) ----
    // The party, coming in by the entry `entryName`, finds no foe upon it: the foes
    // of the area that left their encounters' places, or stand by that entry, go
    // back to them, and those already turned on it, or that a friend of it left
    // there stands in the reach of, drop their fights and hold back; a party that
    // wakes holds back every foe, and is left the calm that follows a
    // wake. Those who turn only when struck, and may have chased the party out, go
    // back to their places too, calmed or not. Called before the party is placed,
    // so that none stands in the way of its coming; HoldFoesUponTheParty follows
    // once it stands there.
    void StandDownFoes(CArea& area, bool waking, const std::string& entryName);
    // The holds of StandDownFoes, judged with the party standing where it came in:
    // every foe turned on it, and every one waiting to turn in whose reach a member
    // or a friend of the party stands; every foe, for a party that wakes.
    void HoldFoesUponTheParty(CArea& area, bool waking);
    // The calm after a wake: a minute of the game's time, half a minute of the
    // window's clock, in which no foe comes for the party unless it strikes.
    static constexpr std::uint32_t kWakeCalmTicks = 60 * 30;
    // Whether the wake holds `actor` back: a foe, or one waiting to turn on a party
    // that comes near it. A saved game holds back no one else.
    static bool IsFoeToHoldBack(const CActor& actor);
    // Whether the foe `foe` (IsFoeToHoldBack) is turned on the party, or would turn on
    // it as the game runs, the party or a friend of it standing in its reach.
    static bool IsUponTheParty(CProximityWatchers& watchers, const CActor& foe);
    // Whether the party meets `actor` with a fight and never a talk: a foe, or one
    // waiting to turn on a party that comes near (engine_talk.cpp), that has
    // nothing to say.
    static bool IsSilentFoe(const CActor& actor);
    // Whether the foe holds back this tick: until a living member of the party
    // carrying out an order is within its reach, or the party strikes anyone but a
    // friend, or anyone strikes the foe (RunStrikeTriggers). Held foes think nothing
    // and are no battle. In the calm after a wake no member's coming ends a hold,
    // and a foe that turns on the party, or comes on as an ambush, holds back too.
    bool KeepsHoldingBack(CActor& foe);
    // Called as a page is put before the player (a box, a shout, a tutorial page;
    // one the interface drops or logs is no page). The game stands still while it
    // is open: a foe upon a party at rest would land its blow the moment the page
    // shows or closes, before the player could answer, so outside a fight under
    // way the foes turned on the party hold back, and so do those waiting to turn
    // on it in whose reach it stands. A fight under way goes on. Closed, the page
    // leaves the party a moment (kPageMomentTicks) in which no held foe comes on
    // however near the party walks, and no foe turns on it.
    void HoldFoesBackForPage();
    static constexpr std::uint32_t kPageMomentTicks = 2 * 30;
    // Those who came into `area` since it held only `before` (ActorsOf) and wait
    // to turn on the party turn now: an ambush sprung where the party stands, by
    // a tag's patch or a stage that comes on as the last fell, is a foe from the
    // first, however far off the party stands.
    void RouseSprungFoes(CArea& area, const std::set<ThingId>& before);
    static std::set<ThingId> ActorsOf(const CArea& area);

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
    // True when the actor may open the object: no lock, opened before, or picked now
    // (Locks + 50 above the lock, no die); a failed pick keeps the lock for a later try.
    bool CheckObjectLock(CActor& actor, CObject& object);

    // ---- saved games (engine_save.cpp) ----
    // Writes the whole game to `path` as one "save" tree. The tree goes to a
    // temporary file beside `path` that replaces it only once complete, so a failed
    // save leaves the previous file as it was. `quickActions`, when given, is kept
    // as the application's own text, and `chosen` beside it: the party place of the
    // member the player has chosen, none for the whole party. Then tells the player
    // "Saved game: " and the save's name, the file's without its folder and ".drav".
    // A game between two areas, with no current area, is no game a load could go on
    // from, and a chosen place past the party's last is none a load takes: code 2,
    // and nothing is written.
    // `held` are the events the interface took and has not handled yet: what of
    // them waits for the player goes on in the loaded game.
    void SaveGame(const std::string& path, const CModuleVersionRange& expected, const std::string* quickActions,
                  std::optional<std::uint32_t> chosen = std::nullopt, const CGame::EventList& held = {});
    // SaveGame without the player's line, for a caller that writes a copy and
    // names the save only once the copy has taken its place (ReportSaved).
    void WriteSavedGame(const std::string& path, const CModuleVersionRange& expected,
                        const std::string* quickActions, std::optional<std::uint32_t> chosen = std::nullopt,
                        const CGame::EventList& held = {});
    void ReportSaved(const std::string& path);
    // Reads a saved game of the loaded module's chapter into a new game that
    // replaces the engine's only when the whole file has been read: a failed load
    // (code 7 for another module or an obsolete version, code 1 for bad data,
    // another chapter or no current area) leaves the running game untouched.
    // `quickActions` receives the application's text when the file has one, and
    // `chosen`, when given, the chosen member's place, none when the file keeps none.
    void LoadGame(const std::string& path, const CModuleVersionRange& expected, std::string& quickActions,
                  std::optional<std::uint32_t>* chosen = nullptr);
    void SaveAreaState(DRAVCommon::CDataFileWriter& writer, CArea& area);
    // The party again from the loaded actors, in the order of their party positions.
    void RebuildPartyAfterLoad();

    // ---- the tick's phases and the order steps they run (in the files named above) ----
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
    // Once nobody walks any more to a way out the party was walking to, however
    // the walks ended, the party is asked whether to leave when it stands there;
    // when those who walked there came but another stayed too far, a word names
    // him. A walk that ended in a hail, or short with a word of its own, says why;
    // a walker held on the way is told why, and the walk waits for her unless she
    // is held within reach of the way out, where her walk ends. Those who came wait
    // there for whoever stayed behind: once the party can leave by it, however the
    // last one came or fell, it is asked.
    void CheckWalksToWayOuts();
    // Takes each member sent to a way out into its walk before the orders run: one
    // already standing at it ends her walk in the same tick, and is asked or told
    // all the same.
    void NoteWalksToWayOuts();
    // The way out the party may take now: of those whose tag is open and within
    // reach of every living member, the nearest; null when there is none.
    const CAreaExit* FindOfferedExit() const;
    // The way out `name` of the current area when the party may take it.
    const CAreaExit* FindOpenExit(const std::string& name) const;
    // Whether `actor` stands near enough to `exit` for the party to be offered it.
    static bool IsWithinExitRange(const CActor& actor, const CAreaExit& exit);
    void StopSneaking(CActor& actor);
    void RunMeleeAttack(CActor& actor, const CAttackOrder& order);
    // One step of a melee attacker towards a target beyond its reach.
    void ApproachMeleeTarget(CActor& actor, CActor& target, const CAttackOrder& order);
    void RunRangedAttack(CActor& actor, const CAttackOrder& order);
    void RunUseTileOrder(CActor& actor, const CUseOrder& order);
    void RunUseObjectOrder(CActor& actor, const CUseOrder& order);
    void RunUseItemOrder(CActor& actor, const CUseOrder& order, bool instant);
    void RunSpendPointsOrder(CActor& actor, const CSpendPointsOrder& order);
    void RunPowerOrder(CActor& actor, const CPowerOrder& order);

    // ---- attacks (engine_combat.cpp) ----
    void MeleeStrike(CActor& attacker, CActor& target);
    void LaunchRangedAttack(CActor& attacker, CActor& target);
    // A spell carried by an attack of `sourceName`'s, launched at the target's feet.
    void LaunchAttackSpell(const std::string& sourceName, bool fromParty, const CSpell& spell, CActor& target);

    // ---- attack outcome (engine_damage.cpp) ----
    // True when the attack hit, also when the damage was wholly resisted.
    bool ResolveAttack2(CActor& target, const CAttackInfo& info, bool attackerIsParty);
    void RemoveCharmedCheck(CActor& target, bool attackerIsParty);
    // `rollText` and `resistText` may be null. The damage is rolled `rolls` times
    // and told summed in one line.
    void ResolveDamage(const std::string* rollText, const std::string* resistText, CActor& target,
                       const CAttackInfo& info, const CSaveOutcome& outcome, std::int32_t messageKind,
                       std::int32_t rolls = 1);
    void ResolveActorDied(const std::string& killerName, CActor& target);

    // ---- effects in flight (engine_effects.cpp) ----
    void ResolveEffectArrival(CEffect& effect, CActor* target);

    // ---- spell resolution (engine_spells.cpp) ----
    // What an arrived spell does to `target`; a spell that reached a tile has no
    // target and acts at the point (x, y).
    void ResolveSpell(const CSpellSender& sender, CActor* target, double x, double y, bool fromParty,
                      const CSpell& spell, std::int32_t difficulty, std::int32_t hitBonus,
                      std::int32_t casterLevel, SkillId penetration);
    // Touch, immunity, nullification, save and resistance for a hostile spell; false
    // (with its message) when the spell does not take hold. `outcome` is what is left.
    bool SpellTakesHold(const std::string& label, CActor& target, bool fromParty, const CSpell& spell,
                        std::int32_t difficulty, std::int32_t hitBonus, SkillId penetration,
                        CSaveOutcome& outcome);

    // ---- effects of a resolved spell (engine_spell_effects.cpp) ----
    void ResolveSummon(const CSpellWords& words, std::int32_t column, std::int32_t row, bool fromParty,
                       const CSpellEffectSummon& effect, std::int32_t casterLevel);
    // Why the party's summon of `effect` would fizzle as things stand: the party is
    // full, or the creature is already summoned. Empty when it would come.
    std::string SummonFizzle(const CSpellEffectSummon& effect) const;
    void ResolveHeal(const CSpellWords& words, CActor& target, const CSpellEffectHeal& effect,
                     std::int32_t casterLevel);
    void ResolveSpellDamage(const std::string& label, CActor& target, const CSpellEffectDamage& effect,
                            std::int32_t casterLevel, const CDamageType& type, const CSaveOutcome& outcome,
                            std::int32_t rolls);
    void ResolveDispel(const std::string& label, CActor& target, const CSpellEffectDispel& effect,
                       std::int32_t difficulty);
    void ResolveCreateItem(const std::string& label, CActor& target, const CSpellEffectItem& effect,
                           std::int32_t casterLevel);
    void ResolveRaise(const std::string& label, CActor& target, const CSpellEffectRaise& effect, bool fromParty);

    // ---- casting (engine_casting.cpp) ----
    // Where a cast is aimed: nothing for a self-targeted spell, else a tile or an actor.
    struct CastTarget {
        bool present = false;
        ThingId id = 0;
        CActor* actor = nullptr;
        double x = 0.0;
        double y = 0.0;
    };
    // One tick of a cast; true when the cast is over. A cast order pays energy; a
    // wand or potion (`item`) does not.
    bool CastHelperAttacking(CActor& caster, ThingId target, const CSpell& spell, bool payEnergy, CItem* item);
    // True when the cast must end for want of a target.
    bool CastHelperTargetCheck(CActor& caster, ThingId targetId, const CSpell& spell, CastTarget& target);
    bool CastHelperBegin(CActor& caster, const CSpell& spell, bool payEnergy, const CItem* item,
                         const CastTarget& target);
    bool CastHelperRecovering(CActor& caster, const CSpell& spell, const CastTarget& target);
    bool CastHelperLaunch(CActor& caster, const CSpell& spell, bool payEnergy, CItem* item, const CastTarget& target);
    // True, with the cast given up and the reason told, when it must not go on
    // before anything is paid: too little energy, or a cast that would come to
    // nothing, a hostile spell at one who has surrendered or a summon that fizzles.
    bool RefuseCast(CActor& caster, const CSpell& spell, bool payEnergy, const CItem* item, const CastTarget& target);
    // Potions always go; a wand burns out now and then.
    void UseUpCastItem(CActor& caster, CItem& item);
    // True when the spell may go off.
    bool CastConcentrationCheck(CActor& caster, const CSpell& spell, std::int32_t value);
    // Appends up to eight extra targets, nearest first; true when the list is not empty.
    bool GatherSpellTargets(CActor* caster, const CObject* object, const CSpell& spell, std::vector<CActor*>& targets);
    void CastTeleportSpell(CActor& caster, const CSpell& spell, const CSpellEffectTeleport& teleport, double x,
                           double y);

    // ---- powers and script magic (engine_powers.cpp) ----
    void StartSneaking(CActor& actor, const CSpell& power);
    // The visible effect of a power just switched on.
    void ShowPowerEffect(CActor& actor, const CSpell& power);
    // Moves the actor to an entry of the current area, its orders dropped.
    void TeleportActor(CActor& actor, const CSpell& spell, const CAreaEntry& entry);
    void LaunchScriptSpell(CActor& actor, const CSpell& spell);

    // ---- the use order (engine_use.cpp) ----
    void RunUseScrollOrder(CActor& actor, CItem& scroll);
    // True when the use is over.
    bool UsePotion(CActor& actor, CItem& potion);
    bool UseWand(CActor& actor, CItem& wand, ThingId target);
    // The actor stands at the door; the whole run of door tiles moves as one.
    void CloseDoor(CActor& actor, CTile& tile);
    void OpenDoor(CActor& actor, CTile& tile, CMasterTileDoor& door);

    // ---- traps (engine_traps.cpp) ----
    // True when the trap's object left the area (disarmed, or a one-time trap sprung).
    bool HitTrap(CArea& area, CObject& object, CTrap& trap, CActor& actor);
    // A sprung trap re-arms after its delay, or is removed; true when its object left.
    bool SpendTrap(CArea& area, CObject& object, CTrap& trap);
    // A disarmed or spent trap goes with its object, unless the object holds items.
    bool RemoveTrap(CArea& area, CObject& object, CTrap& trap);

    // ---- moving actors by magic (engine_teleport.cpp) ----
    // Twenty tries at a reachable point 26 to 50 units away; the target may stay put.
    void ResolveRepulse(CActor& target, const CSpell& spell, std::int32_t difficulty, bool fromParty);
    // Moves the actor near the cell and launches the spell at it there; false when it
    // found no room and stays at its old cell (code 2 when that is gone too).
    bool TeleportHelper(CActor& actor, const CSpell& spell, std::uint32_t column, std::uint32_t row,
                        std::int32_t difficulty, bool fromParty);
    // A spell in flight from `actor`'s spot aimed at the actor itself, sent by nobody:
    // `pulses` pulses of the lasting spells `whose` cast, or one an arrival brings ("").
    void LaunchSpellAt(CActor& actor, const CSpell& spell, bool fromParty, std::int32_t difficulty,
                       std::int32_t casterLevel, const std::string& whose, std::int32_t pulses);

    // ---- stealth and exits (engine_battle.cpp) ----
    // True when the sneaker stays unseen.
    bool StealthCheckOneActor(CActor& sneaker, bool combat);

    // ---- world upkeep (engine_upkeep.cpp) ----
    void UpdateVisibility();
    void RunPartyHeartbeat();
    void RunNearbyHeartbeat();
    void RunHeartbeatActor(CActor& actor);
    void ResetHeartbeatTimer();
    void CheckEncounterCompletion(CActor& actor);
    void UnsummonMsg(const CActor& actor, const CItem& item);

private:
    // The running game and its current area; code 2 when there is none.
    CGame& Game() const;
    CArea& CurrentArea() const;
    const CModule& Module() const;
    // Code 2 (empty message) unless the game is in `state`.
    void RequireState(std::int32_t state) const;
    // The runners of instant orders the order rule let through, on what it found
    // (engine_items.cpp, engine_store.cpp, engine_talk.cpp).
    void RunWieldOrder(CActor& actor, const CWieldOrder& order, const OrderThings& found);
    void RunUnwieldOrder(CActor& actor, const CUnwieldOrder& order);
    void RunGetOrder(CActor& actor, const OrderThings& found);
    void RunDropOrder(CActor& actor, const OrderThings& found);
    void RunSplitOrder(CActor& actor, const CSplitOrder& order, const OrderThings& found);
    void RunCombineOrder(CActor& actor, const OrderThings& found);
    void RunGiveOrder(CActor& actor, const OrderThings& found);
    void RunStoreOrder(CActor& actor, const CStoreOrder& order, const OrderThings& found);
    void BuyFromStore(CActor& actor, CActor& keeper, CItem& offered, const CStoreOrder& order);
    void SellToStore(CActor& actor, CActor& keeper, CItem& sold, std::int32_t position, const CStoreOrder& order);
    // A talk order without a state carries the reply that ends the talk: it is
    // said and noted as any reply, and no state runs.
    void RunTalkOrder(CActor& actor, const CTalkOrder& order, const OrderThings& found);
    void RunLeavePartyOrder(CActor& actor);
    void ReadSavedGame(DRAVCommon::CDataFileReader& reader, const CModuleVersionRange& expected, CGame& game,
                       std::string& quickActions, std::optional<std::uint32_t>& chosen,
                       std::optional<std::mt19937>& random, std::set<ThingId>& toldHolds) const;
    // The members told their walk is held, as a save keeps them.
    void WriteToldHolds(DRAVCommon::CDataFileWriter& writer) const;
    void RunOneInstantOrder(CActor& actor, const COrder& order, const OrderThings& found);
    void RunOneOrder(CActor& actor, const COrder& order);
    // A notice of the actor's name and `fragment`, for party members only.
    void PushActorMessage(const CActor& actor, const std::string& fragment);
    // The walk of the order found no way to its goal: the order ends, and a party
    // member says what it cannot reach, unless it walked to a way out the party
    // may take from where it stands.
    void EndWalkWithNoWay(CActor& actor, const COrder& order);
    // The walk to the ground at (x, y), the spot nearest the order's point where
    // the walker has room, has come as near as it will: the order ends, and one
    // that stands short of the spot, kept off it by whoever stands there, says so.
    void EndWalkOnGround(CActor& actor, const COrder& order, double x, double y);
    // Every walk that ends short of its goal ends here: the order goes, and a party
    // member says what she cannot reach and who of `inTheWay` keeps her off it.
    void EndWalkShort(CActor& actor, const COrder& order, const std::vector<ThingId>& inTheWay);
    // The walker, one of the party held up on its walk, has its way made by the
    // one of the party standing idle in it, unless the walk goes to her: she steps
    // aside, or trades places with the walker where she has no room to.
    void AskToMakeWay(CActor& walker, const COrder& order);
    bool StepAside(const CActor& walker, CActor& bystander);
    bool TradePlaces(CActor& walker, CActor& bystander);
    // The member's walk to talk to `foe` ends, and every order after it, with a
    // word of why: one does not talk with whoever turned on the party.
    void EndTalkWalkWithFoe(CActor& member, const CActor& foe);
    // The walk of the actor's current order could take no step this tick: her
    // attackers hold her where she stands, or she cannot move at all.
    void NoteWalkHeld(const CActor& actor, bool immobile);
    // The members whose walk could take no step this tick; each is told why once
    // an order, and walks on once free.
    std::set<ThingId> TellHeldWalks();
    // The member's walk to the way out her current order goes to, joined; null when
    // it goes to none.
    CGame::WayOutWalk* JoinWayOutWalk(const CActor& member);
    // The party's walk to a way out ended: the question, a word, or nothing to say.
    // True when those who came stand waiting there for the rest, the walk kept with
    // no walkers; a walk kept so asks once the party can leave by it, and ends
    // silent once one standing there is sent elsewhere or a talk begins.
    bool EndWayOutWalk(const CGame::WayOutWalk& walk);
    // The way out that a use order walks to; null for any other order.
    const CObject* WayOutOf(const COrder& order) const;
    // What the walking order makes for, as the player knows it: a person's or an
    // object's name, else the name of the ground it aims at.
    std::string NameOfWalkGoal(const COrder& order) const;
    // The order's target in `area` when it may still be attacked; otherwise the
    // attacker stands down, the order goes and the result is null.
    CActor* FindAttackTarget(CActor& attacker, const CAttackOrder& order, CArea* area);
    // The living members, all waiting outside areas, at the entry of `area`: all
    // placed, or none (code 1 for a missing entry, 2 for no room).
    void PlaceParty(CArea& area, const std::string& entryName);
    void PlaceParty(CArea& area, const CAreaEntry& entry);
    // The same at the cell `cellOf` gives each member; `where` names it in a failure.
    void PlaceParty(CArea& area, const std::function<std::pair<std::uint32_t, std::uint32_t>(const CActor&)>& cellOf,
                    const std::string& where);

    // Quests whose completion script failed: reported once, then counted as not complete.
    std::set<std::string> m_failedQuests;
    std::shared_ptr<DRAVCommon::CDataFileFactory> m_dataSource;
    // MostSerialsABuildTakes of the module's areas, by name, as far as asked.
    std::map<std::string, std::uint64_t> m_buildNeeds;
    std::shared_ptr<CGame> m_game;
    std::shared_ptr<CModule> m_module;
    // By member: the order whose walk was last held, the tick it was, why, and
    // whether she was told. Who was told is saved, so a load does not tell her again.
    struct HeldWalk {
        std::weak_ptr<const COrder> order;
        std::uint32_t tick = 0;
        bool immobile = false;
        bool told = false;
    };
    std::map<ThingId, HeldWalk> m_heldWalks;
};

}  // namespace DRAV
