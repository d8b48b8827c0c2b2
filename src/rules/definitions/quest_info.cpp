#include "rules/definitions/quest_info.h"

#include "common/data_file_reader.h"
#include "rules/vocabulary/read_word.h"
#include "script/script_loader.h"

namespace DRAV {

CQuestInfo::CQuestInfo(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("quest");
    m_key = KeptWord(reader, reader.ReadWord(), "a quest key");
    m_name = reader.ReadQuoted();
    m_reward = reader.ReadUInt();
    m_completionTag = KeptWord(reader, reader.ReadWordOrEmpty(), "a completion tag");
    m_script = LoadScript(reader, "quest " + m_key);
    reader.EndBlock();
}

void ParseQuests(QuestMap& quests, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("quests");
    while (reader.IsBlock("quest")) {
        auto quest = std::make_shared<CQuestInfo>(reader);
        quests.insert_or_assign(quest->GetKey(), std::move(quest));
    }
    reader.EndBlock();
}

}  // namespace DRAV
