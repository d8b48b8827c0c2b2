#include "world/actor_test_support.h"

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/monsters/actor_template.h"
#include "support/sample_brains.h"
#include "support/temp_dir.h"

namespace WorldTest {

using namespace DRAV;

std::shared_ptr<CActor> SampleActor(const std::string& key, CGame* game) {
    std::shared_ptr<CActor> actor;
    SampleWithBrains().CreateActor(actor, game, key, "", 0);
    return actor;
}

std::string SavedText(const CActor& actor, const std::string& path) {
    DRAVCommon::CDataFileWriter writer(path);
    actor.Save(writer, SampleWithBrains());
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
