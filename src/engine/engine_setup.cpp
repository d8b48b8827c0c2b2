// Module load, a new game with its main character, and a new chapter's game made
// from the previous chapter's main character.

#include <algorithm>

#include "common/trace.h"
#include "engine/brain/ai.h"
#include "engine/brain/brain.h"
#include "engine/brain/brain_functions.h"
#include "engine/engine.h"
#include "rules/kinds/formulas.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/item.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kNewCharacterPoints = 72;
constexpr double kNewCharacterRadius = 1.5;
constexpr double kNewCharacterSecondSize = 6.0;

// A copy of `item` made from the new module's template of the same key; null when
// the module has none. The new game goes on from the old game's tick, so a
// summoned item keeps its expiry tick as it stands, and one already gone stays gone.
std::shared_ptr<CItem> CarryItem(const CItem& item, const CModule& module, CGame& game, std::uint32_t now) {
    const std::uint32_t expiry = item.GetExpiryTick();
    if (expiry != 0 && expiry <= now) return nullptr;
    const auto& templates = module.GetItemTemplates();
    const auto found = templates.find(item.GetTemplate().GetKey());
    if (found == templates.end() || !found->second) return nullptr;
    return std::make_shared<CItem>(game.NewThingId(THING_ITEM), *found->second, item.GetCount(), expiry);
}

}  // namespace

void CEngine::LoadModule(std::int32_t chapter, const CModuleVersionRange& expected,
                         std::shared_ptr<DRAVCommon::CDataFileFactory> source) {
    // Read aside and swapped in only when complete: a failed load leaves the
    // running chapter as it was.
    auto module = std::make_shared<CModule>();
    module->SetBrainFunctions(GetBrainFunctions());
    module->Load(chapter, &expected, source);
    // A misspelt spell name in a casting AI would stall every monster made from it.
    for (const auto& [key, monster] : module->GetMonsterTemplates()) {
        const std::shared_ptr<CBrain> brain = monster ? monster->GetBrain() : nullptr;
        if (!brain) continue;
        for (const std::shared_ptr<CAI>& ai : {brain->GetPeacefulAI(), brain->GetCombatAI()})
            if (ai) ai->DropUnknownSpells(module->GetSpells(), key);
    }
    m_dataSource = std::move(source);
    m_module = std::move(module);
    m_buildNeeds.clear();
}

std::shared_ptr<CActor> CEngine::NewGame() {
    const CModule& module = Module();
    m_game = std::make_shared<CGame>();
    m_failedQuests.clear();
    m_game->InitNewGame(module);
    m_game->SetCalendarBase(module.GetStartYear(), module.GetStartDay(), module.GetStartHour());
    auto actor = std::make_shared<CActor>(m_game->NewThingId(THING_ACTOR));
    actor->SetGame(m_game.get());
    SetupNewActor(*actor);
    return actor;
}

void CEngine::SetupNewActor(CActor& actor) {
    actor.SetName("");
    actor.SetTemplateName("main");
    actor.SetSecondName("");
    // A human's base level is one below the first: the class level alone makes a
    // level-1 hero, and every formula counts base level + 1.
    actor.SetBaseLevel(-1);
    actor.SetLevel(1);
    actor.ResetStats();
    // A hero being made is alive: the creation pages' character sheet shows its
    // hit points, not a dead one's.
    actor.SetActionState(ACTION_IDLE);
    actor.SetRadius(kNewCharacterRadius);
    actor.SetSecondSize(kNewCharacterSecondSize);
    actor.SetRace(RACE_HUMAN);
    actor.SetUnspentPoints(kNewCharacterPoints);
    actor.SetRelation(RELATION_PARTY);
    actor.SetClass(CLASS_MONSTER);
    actor.SetGender(GENDER_NONE);
}

void CEngine::ReadyStartingActor(CActor& actor) {
    CGame& game = Game();
    actor.InscribeScroll(Module(), &game);
    actor.SetActionState(ACTION_IDLE);
    actor.SetAttackTarget(0, nullptr);
    actor.SetLeaveFlag(false);
    if (!actor.HasRolledHitPoints()) actor.RollHitPoints();
    game.SetGold(GetStartingGold(static_cast<std::int32_t>(actor.GetLevel())));
    actor.ResetCombatState();
    InitNewActor(actor);
}

void CEngine::InitNewActor(const CActor& actor) const {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "New actor %s: level %u, %d hit points.\n", actor.GetName().c_str(),
               actor.GetLevel(), actor.GetMaxHitPoints());
}

void CEngine::BeginNewGame(const std::shared_ptr<CActor>& main) {
    ReadyStartingActor(*main);
    Game().SetFirstPartyMember(main);
}

void CEngine::NewChapterGame(const std::shared_ptr<CGame>& previous) {
    const std::shared_ptr<CActor> old = previous->GetMainActor();
    const std::shared_ptr<CActor> actor = NewGame();
    CGame& game = Game();
    const CModule& module = Module();

    actor->SetName(old->GetName());
    actor->SetSecondName(old->GetSecondName());
    actor->SetColor(old->GetColor());
    actor->SetNameColor(old->GetNameColor());
    actor->SetGraphicName(old->GetGraphicName());
    actor->SetClass(old->GetClass());
    actor->SetLevel(old->GetLevel());
    actor->SetExperience(old->GetExperience());
    for (int attribute = 0; attribute < kAttributeCount; ++attribute)
        actor->SetAttribute(static_cast<Attribute>(attribute), old->GetAttribute(static_cast<Attribute>(attribute)));
    actor->SetGender(old->GetGender());
    actor->SetRace(old->GetRace());
    for (const SkillId skill : old->GetSkills()) actor->AddSkill(skill);

    const auto& spells = module.GetSpells();
    for (const CSpell* spell : old->GetSpells()) {
        const auto found = spells.find(spell->GetKey());
        if (found != spells.end() && found->second) actor->AddSpell(*found->second);
    }
    // Everything the character carried arrives in the backpack, nothing equipped.
    for (const auto& item : old->GetBackpack())
        if (auto copy = CarryItem(*item, module, game, previous->GetTick())) actor->AddToBackpack(std::move(copy), false);
    for (const auto& item : old->GetEquipment())
        if (item)
            if (auto copy = CarryItem(*item, module, game, previous->GetTick())) actor->AddToBackpack(std::move(copy), false);

    const CFaction* faction = nullptr;
    if (old->GetFaction()) {
        const auto found = module.GetFactions().find(old->GetFaction()->GetKey());
        if (found != module.GetFactions().end()) faction = found->second.get();
    }
    actor->SetFaction(faction, faction ? old->GetFactionRank() : 0);
    actor->SetMaxHitPoints(old->GetMaxHitPoints());

    actor->SetActionState(ACTION_IDLE);
    actor->SetAttackTarget(0, nullptr);
    actor->SetLeaveFlag(false);
    actor->ResetCombatState();
    actor->SetUnspentPoints(old->GetUnspentPoints());
    game.SetFirstPartyMember(actor);

    game.SetGold(std::max(0, previous->GetGold() + game.GetGold()));
    game.SetTick(previous->GetTick());
    game.SetDifficulty(previous->GetDifficulty());
    for (const auto& [tag, unused] : module.GetImports()) {
        (void)unused;
        const auto found = previous->GetQuestTags().find(tag);
        if (found != previous->GetQuestTags().end() && found->second != 0) game.SetQuestTag(tag, found->second);
    }
}

}  // namespace DRAV
