#include "world/actor_test_support.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/monsters/actor_template.h"
#include "support/sample_brains.h"
#include "support/temp_dir.h"

namespace WorldTest {

using namespace DRAV;

std::shared_ptr<CActor> SampleActor(const std::string& key, CGame* game) {
    const CModule& module = SampleWithBrains();
    const CActorTemplate& definition = *module.FindMonsterTemplate(key);
    auto actor = std::make_shared<CActor>(game ? game->NewThingId(THING_ACTOR) : 0);
    actor->SetGame(game);
    actor->SetName(definition.GetName());
    actor->SetSecondName(definition.GetSecondName());
    actor->SetNameColor(definition.GetNameColor());
    actor->SetNameWord(definition.GetNameWord());
    actor->SetTemplateName(key);
    actor->SetFaction(definition.GetFaction(), definition.GetFactionRank());
    actor->SetGraphicName(definition.GetGraphic());
    actor->SetColor(definition.GetColors());
    actor->SetRadius(definition.GetRadius());
    actor->SetSecondSize(definition.GetSecondSize());
    actor->SetClass(definition.GetClass());
    actor->SetGender(definition.GetGender());
    actor->SetRace(definition.GetRace());
    actor->SetMonsterFlags(definition.GetFlags());
    actor->SetBaseLevel(definition.GetBaseLevel());
    actor->SetLevel(definition.GetLevel());
    actor->ResetStats();
    for (int a = 0; a < kAttributeCount; ++a)
        actor->SetAttribute(static_cast<Attribute>(a), definition.GetAttributes()[a]);
    actor->SetBaseActionSpeed(definition.GetActionSpeed());
    actor->SetBaseMovementSpeed(definition.GetMovementSpeed());
    actor->AppendEffects(definition.GetModifiers());
    actor->SetAttacks(definition.GetAttacks());
    for (SkillId skill : definition.GetSkills()) actor->AddSkill(skill);
    actor->SetMaxHitPoints(static_cast<std::int32_t>(definition.GetHitPoints()));
    for (const CSpell* spell : definition.GetSpells()) actor->AddSpell(*spell);
    actor->SetTalkStates(definition.GetTalkStates());
    actor->SetHeartbeat(definition.GetHeartbeat());
    auto brain = definition.CopyBrain();
    actor->SetBrain(brain, module.GetBrainFunctions());
    actor->SetRelation(RELATION_NEUTRAL);
    actor->SetActionState(ACTION_IDLE);
    return actor;
}

std::string SavedText(const CActor& actor, const std::string& path) {
    DRAVCommon::CDataFileWriter writer(path);
    actor.Save(writer);
    writer.Finish();
    return QuillmereTest::ReadTextFile(path);
}

std::shared_ptr<CActor> LoadActor(const std::string& text, CGame& game) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "save.drav");
    return std::make_shared<CActor>(reader, game, SampleWithBrains());
}

const CSpell& Spell(const std::string& key) { return GetSpell(SampleWithBrains().GetSpells(), key); }

std::shared_ptr<CItem> SampleItem(const std::string& key) {
    return std::make_shared<CItem>(0, *FindItemTemplate(SampleWithBrains().GetItemTemplates(), key), 1, 0);
}

}  // namespace WorldTest
