#pragma once
// The texts of the message events among `events`, oldest first; with `kind` only
// the messages of that kind.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/events/event.h"

namespace QuillmereTest {

inline std::vector<std::string> MessageTexts(const std::vector<std::shared_ptr<DRAV::CEvent>>& events,
                                             std::int32_t kind = -1) {
    std::vector<std::string> texts;
    for (const auto& event : events)
        if (auto* message = dynamic_cast<const DRAV::CMessageEvent*>(event.get()))
            if (kind < 0 || message->GetCode() == kind) texts.push_back(message->GetText());
    return texts;
}

}  // namespace QuillmereTest
