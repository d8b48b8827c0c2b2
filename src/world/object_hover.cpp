#include "world/object_hover.h"

#include "world/object.h"

namespace DRAV {

std::string GetObjectHoverText(const CObject& object) {
    const CObjectTemplate& definition = object.GetTemplate();
    if (definition.IsContainer()) {
        if (object.IsLocked()) return "Container (Locked)";
        if (object.GetItems().empty()) return "Container (Empty)";
        return "Container";
    }
    if (object.IsExit()) return object.GetExitText();
    if (!definition.GetTalkStates().empty()) return "Click for Action";
    if (definition.IsSignpost()) return definition.GetSignText();
    return std::string();
}

}  // namespace DRAV
