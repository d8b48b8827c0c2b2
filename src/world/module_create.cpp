// Live items and actors made from the module's definitions: for monster and people
// definitions, stores, treasure and encounters.

#include "common/exception.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/game.h"

namespace DRAV {
namespace {

void CopyLooks(CActor& actor, const CActorTemplate& definition) {
    actor.SetName(definition.GetName());
    actor.SetSecondName(definition.GetSecondName());
    actor.SetNameColor(definition.GetNameColor());
    actor.SetNameWord(definition.GetNameWord());
    actor.SetTemplateName(definition.GetKey());
    actor.SetRelation(RELATION_NEUTRAL);
    actor.SetFaction(definition.GetFaction(), definition.GetFactionRank());
    actor.SetGraphicName(definition.GetGraphic());
    if (definition.GetColors()) actor.SetColor(definition.GetColors());
    actor.SetRadius(definition.GetRadius());
    actor.SetSecondSize(definition.GetSecondSize());
    actor.SetClass(definition.GetClass());
    actor.SetGender(definition.GetGender());
    actor.SetRace(definition.GetRace());
    actor.SetMonsterFlags(definition.GetFlags());
    actor.SetBaseLevel(definition.GetBaseLevel());
    actor.SetLevel(definition.GetLevel());
}

void CopyStatistics(CActor& actor, const CActorTemplate& definition) {
    actor.ResetStats();
    for (int a = 0; a < kAttributeCount; ++a)
        actor.SetAttribute(static_cast<Attribute>(a), definition.GetAttributes()[static_cast<std::size_t>(a)]);
    if (definition.GetDefenseClass() != 0) {
        const std::int64_t agility =
            std::int64_t{actor.GetAttribute(ATTR_AGILITY)} - 10 + actor.GetModifier(MOD_AGILITY);
        actor.SetDefenseAdjustment(
            static_cast<std::int32_t>(definition.GetDefenseClass() - agility * 5 / 2 - 50));
        for (int category = 0; category < 3; ++category)
            actor.SetCategoryResistance(CDamageType{static_cast<DamageCategory>(category), ELEMENT_NONE},
                                        definition.GetResistances()[static_cast<std::size_t>(category)]);
    }
    actor.SetBaseActionSpeed(definition.GetActionSpeed());
    actor.SetBaseMovementSpeed(definition.GetMovementSpeed());
    actor.AppendEffects(definition.GetModifiers());
    if (!definition.GetAttacks().empty()) actor.SetAttacks(definition.GetAttacks());
    for (SkillId skill : definition.GetSkills()) actor.AddSkill(skill);
    actor.SetMaxHitPoints(static_cast<std::int32_t>(definition.GetHitPoints()));
}

}  // namespace

std::shared_ptr<CItem> CModule::CreateItem(const std::string& key, std::int32_t count, ThingId id,
                                           std::uint32_t expiryTick) const {
    const CItemTemplate* definition = FindItemTemplate(m_itemTemplates, key);
    if (!definition) throw CDRAVException(DRAV_ERR_BAD_DATA, "no item \"" + key + "\" is defined");
    return std::make_shared<CItem>(id, *definition, count, expiryTick);
}

void CModule::GiveItems(CActor& actor, const ItemList& items, CGame* game, bool drop) const {
    for (const ItemListEntry& entry : items) {
        const ThingId id = game ? game->NewThingId(THING_ITEM) : ThingId{};
        auto item = CreateItem(entry.key, static_cast<std::int32_t>(entry.count), id, 0);
        if (drop) actor.AddDropItem(std::move(item));
        else actor.AddToBackpack(std::move(item), false);
    }
}

void CModule::CreateActor(std::shared_ptr<CActor>& actor, CGame* game, const std::string& key,
                          const std::string& encounterName, std::int32_t encounterIndex) const {
    actor.reset();
    const CActorTemplate* definition = FindMonsterTemplate(key);
    if (!definition) throw CDRAVException(DRAV_ERR_BAD_DATA, "no monster \"" + key + "\" is defined");
    definition->Validate();

    auto made = std::make_shared<CActor>(game ? game->NewThingId(THING_ACTOR) : ThingId{});
    made->SetGame(game);
    CopyLooks(*made, *definition);
    made->SetEncounter(encounterName, encounterIndex);
    CopyStatistics(*made, *definition);
    GiveItems(*made, definition->GetItems(), game, false);
    GiveItems(*made, definition->GetDropItems(), game, true);

    for (const CSpell* spell : definition->GetSpells()) made->AddSpell(*spell);
    if ((definition->GetFlags() & MONSTER_AUTOSPELL) != 0) made->InscribeScroll(*this, nullptr);
    made->SetTalkStates(definition->GetTalkStates());
    made->SetHeartbeat(definition->GetHeartbeat());
    if (const auto store = definition->GetStore()) {
        if (game) {
            // Every actor of one definition trades from the same stock.
            AddStoreIfMissing(game->GetStores(), key, *store, *this, game);
            made->SetStore(FindStore(game->GetStores(), key));
        } else {
            made->SetStore(std::make_shared<CStore>(*store, *this, nullptr));
        }
    }
    made->SetBrain(definition->CopyBrain(), m_brainFunctions);
    made->ApplyBrainRelation();

    made->SetDamageTaken(0);
    made->SetLastDamage(0, 0);
    made->SetHealsReceived(0);
    made->SetEnergyUsed(0);
    made->SetUnspentPoints(0);
    made->SetSkillEdit(false);
    made->SetStoreFlag(false);
    made->SetActionState(ACTION_IDLE);
    actor = std::move(made);
}

}  // namespace DRAV
