#include "rules/definitions/trap.h"

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/vocabulary/special_stat.h"
#include "script/script_loader.h"

namespace DRAV {

namespace {

constexpr double kTriggerRearmDelay = 60.0;

}  // namespace

std::shared_ptr<CTrap> CTrap::Clone() const {
    auto copy = std::make_shared<CTrap>(*this);
    copy->m_readyTick = 0;
    return copy;
}

void ReadTrap(DRAVCommon::CDataFileReader& reader, CTrap& trap) {
    reader.BeginBlock("trap");
    trap.m_hidden = reader.ReadBool();
    trap.m_difficulty = reader.ReadUInt();
    trap.m_spellLevel = reader.ReadInt();
    trap.m_spellKey.clear();
    trap.m_script.reset();
    // Checked first: the loader would take a "0" spell key for an absent word pair.
    if (reader.IsBlock("lua")) trap.m_script = LoadScript(reader, "trap");
    else trap.m_spellKey = reader.ReadWordOrEmpty();
    trap.m_rearmDelay = reader.ReadDouble();
    reader.EndBlock();
}

void ReadTrigger(DRAVCommon::CDataFileReader& reader, CTrap& trap, const std::string& objectName) {
    reader.BeginBlock("trigger");
    trap.m_hidden = true;
    trap.m_difficulty = 0;
    trap.m_spellLevel = 0;
    trap.m_spellKey.clear();
    const std::string tag = reader.ReadWordOrEmpty();
    SpecialStat statistic = SPECIAL_NONE;
    std::int32_t checkValue = 0;
    if (reader.BeginGroup(2, true)) {
        const std::string word = reader.ReadWordOrEmpty();
        try {
            statistic = ParseSpecialStat(word);
        } catch (const CDRAVException& error) {
            reader.Fail(error.GetCode(), error.GetMessage());  // naming the file that holds the word
        }
        checkValue = reader.ReadInt();
    }
    const std::string text = reader.ReadQuoted();
    trap.m_script = MakeTriggerScript(tag, statistic, checkValue, objectName, text,
                                      reader.GetSourceName() + " (trigger of " + objectName + ")");
    trap.m_rearmDelay = kTriggerRearmDelay;
    reader.EndBlock();
}

}  // namespace DRAV
