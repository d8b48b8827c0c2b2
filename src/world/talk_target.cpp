#include "world/talk_target.h"

namespace DRAV {

std::string GetFirstTalkStateName(const TalkStateList& states) {
    if (states.empty() || !states.front()) return std::string();
    return states.front()->GetName();
}

}  // namespace DRAV
