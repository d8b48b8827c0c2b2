#include "rules/definitions/talk_state.h"

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "script/script_loader.h"

namespace DRAV {

CTalkState::CTalkState(DRAVCommon::CDataFileReader& reader, const std::string& owner) {
    reader.BeginBlock("state");
    m_name = reader.ReadWord();
    while (reader.BeginPairGroup()) {
        reader.ReadWord();
        reader.ReadWord();
    }
    m_script = LoadScript(reader, (owner.empty() ? "" : owner + ", ") + "talk state " + m_name);
    if (!m_script) reader.Fail(DRAV_ERR_BAD_DATA, "talk state " + m_name + ": expected <lua> or <settag>");
    reader.EndBlock();
}

void ReadTalkStates(TalkStateList& states, DRAVCommon::CDataFileReader& reader, const std::string& owner) {
    reader.BeginBlock("talk");
    while (reader.IsBlock("state")) states.push_back(std::make_shared<CTalkState>(reader, owner));
    reader.EndBlock();
}

CTalkState* FindTalkState(const TalkStateList& states, const std::string& name) {
    for (const auto& state : states)
        if (state->GetName() == name) return state.get();
    return nullptr;
}

}  // namespace DRAV
