#include "world/talk_target.h"

#include "script/script_run.h"

namespace DRAV {

void CTalkTarget::AddTalkChoice(std::shared_ptr<CTalkChoice> choice) {
    CountMadeThing();
    AppendTalkChoice(std::move(choice));
}

std::string GetFirstTalkStateName(const TalkStateList& states) {
    if (states.empty() || !states.front()) return std::string();
    return states.front()->GetName();
}

}  // namespace DRAV
