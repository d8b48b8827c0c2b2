#include "ui/element_info.h"

namespace DRAVUI {

void ElementInfo::Clear() {
    title.clear();
    titleColour = 0xFFFFFFFF;
    text.clear();
    actionHint.clear();
    icon = 0;
    iconColour = 0xFFFFFFFF;
    badges = {};
    hasHitPointBar = false;
    hasEnergyBar = false;
    count = 0;
    kind = INFO_NOTHING;
    key.clear();
}

}  // namespace DRAVUI
