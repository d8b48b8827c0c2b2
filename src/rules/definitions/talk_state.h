#pragma once
// Named conversation states of an object or monster definition, and the replies
// their scripts offer.

#include <memory>
#include <string>
#include <vector>

#include "script/script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

class CTalkState {
public:
    // Reads one "state" element: the name, optional word pairs, then the script,
    // which must be there (code 1 otherwise).
    // `owner` names the definition in the script's errors ("monster heron").
    CTalkState(DRAVCommon::CDataFileReader& reader, const std::string& owner);

    const std::string& GetName() const { return m_name; }
    const std::shared_ptr<CScript>& GetScript() const { return m_script; }

private:
    std::string m_name;
    std::shared_ptr<CScript> m_script;
};

// States in file order; definitions own one, actors share their definition's states.
using TalkStateList = std::vector<std::shared_ptr<CTalkState>>;

// Reads a "talk" element and appends its states to `states`.
void ReadTalkStates(TalkStateList& states, DRAVCommon::CDataFileReader& reader, const std::string& owner = "");

// The first state named `name`, or null.
CTalkState* FindTalkState(const TalkStateList& states, const std::string& name);

class CTalkChoice {
public:
    CTalkChoice(std::string text, std::string targetState)
        : m_text(std::move(text)), m_targetState(std::move(targetState)) {}

    const std::string& GetText() const { return m_text; }
    std::string GetTargetState() const { return m_targetState; }

private:
    std::string m_text;
    std::string m_targetState;
};

}  // namespace DRAV
