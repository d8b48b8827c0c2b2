#pragma once
// The module's quests: a reward and a completion test, keyed by the tag that marks
// the quest as done.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "script/script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CQuestInfo {
public:
    // Reads one "quest" element.
    explicit CQuestInfo(DRAVCommon::CDataFileReader& reader);

    const std::string& GetKey() const { return m_key; }
    const std::string& GetName() const { return m_name; }
    std::uint32_t GetReward() const { return m_reward; }
    // Empty: the quest is tested whenever it is not complete.
    const std::string& GetCompletionTag() const { return m_completionTag; }
    // May be empty when the file gives no script.
    const std::shared_ptr<CScript>& GetScript() const { return m_script; }

private:
    std::string m_key;
    std::string m_name;
    std::uint32_t m_reward = 0;
    std::string m_completionTag;
    std::shared_ptr<CScript> m_script;
};

using QuestMap = std::map<std::string, std::shared_ptr<CQuestInfo>>;

// Reads a "quests" element into `quests`; a later quest replaces an earlier one of
// the same key.
void ParseQuests(QuestMap& quests, DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
