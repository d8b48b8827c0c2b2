// The console's command words: a fixed chain of word tests over one typed line.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "game/app.h"
#include "platform/win32/win32_time.h"
#include "rules/items/item_count.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

// Event code 23 has no sound; the call keeps the log's lines in step with the
// sound of every other line.
constexpr int kSilentEventCode = 23;

template <typename T>
bool Read(std::istringstream& in, T& value) {
    return static_cast<bool>(in >> value);
}

// A count of the unsigned 32-bit kind: a leading minus would wrap around in the
// stream, so it is refused as malformed.
bool ReadUnsigned(std::istringstream& in, std::uint32_t& value) {
    in >> std::ws;
    if (in.peek() == '-') return false;
    return Read(in, value);
}

}  // namespace

void CDRAVApp::ExecuteDebugCommand(const std::string& line) {
    if (!m_engine || !m_engine->GetGame()) return;
    DRAV::CEngine& engine = *m_engine;
    DRAV::CGame& game = *engine.GetGame();
    std::istringstream in(line);
    std::string word;
    if (!(in >> word)) return;
    try {
        if (word == "item") {
            std::string name;
            if (!Read(in, name)) return;
            std::uint32_t count = 1;
            if (!(in >> std::ws).eof() && !ReadUnsigned(in, count)) return;
            // More than a stack holds would be a save the game cannot load back.
            if (count > static_cast<std::uint32_t>(DRAV::kMostInStack)) return;
            engine.WizardCreateItem(name, count);
        } else if (word == "skill") {
            std::uint32_t index = 0;
            std::string skill;
            if (!ReadUnsigned(in, index) || !Read(in, skill)) return;
            const DRAV::ActorList party = game.GetParty();
            if (index < party.size()) engine.WizardSetSkill(*party[index], skill);
        } else if (word == "heal") {
            engine.WizardHealParty();
        } else if (word == "exp") {
            std::uint32_t amount = 0;
            if (!ReadUnsigned(in, amount)) return;
            game.AwardExperience(amount);
            engine.UpdatePartySpells();
        } else if (word == "cash") {
            std::int32_t amount = 0;
            if (!Read(in, amount)) return;
            const std::int64_t gold = static_cast<std::int64_t>(game.GetGold()) + amount;
            game.SetGold(static_cast<std::int32_t>(std::clamp<std::int64_t>(gold, 0, INT32_MAX)));
        } else if (word == "move") {
            std::uint32_t x = 0, y = 0;
            if (!ReadUnsigned(in, x) || !ReadUnsigned(in, y)) return;
            engine.WizardMoveParty(x, y);
        } else if (word == "traceon" || word == "tracelow" || word == "traceoff") {
            // The word after it once named a trace file; lines go to standard error now.
            std::string ignored;
            Read(in, ignored);
            if (word == "traceoff") {
                DRAVCommon::SetTraceSink({});
            } else {
                DRAVCommon::SetTraceLevel(word == "tracelow" ? DRAVCommon::TRACE_LOW : DRAVCommon::TRACE_HIGH);
                DRAVCommon::SetTraceSink(DRAVCommon::StandardErrorTraceSink());
            }
        } else if (word == "tag") {
            std::string tag;
            if (!Read(in, tag)) return;
            engine.SetTag(tag, false);
        } else if (word == "cleartag") {
            std::string tag;
            if (!Read(in, tag)) return;
            auto& tags = game.GetQuestTags();
            if (auto found = tags.find(tag); found != tags.end()) found->second = 0;
        } else if (word == "wmsize") {
            std::uint32_t width = 0, height = 0;
            if (!ReadUnsigned(in, width) || !ReadUnsigned(in, height)) return;
            MoveWindow(m_window, 0, 0, static_cast<int>(width), static_cast<int>(height), TRUE);
        } else if (word == "fps") {
            m_fpsDisplay = !m_fpsDisplay;
            m_fpsTime = GetTickCount();
            m_fpsFrames = 0;
        } else if (word == "dumptags") {
            for (const auto& [tag, value] : game.GetQuestTags()) {
                PlayEventSound(kSilentEventCode);
                AppendMessage(tag + " : " + std::to_string(value));
            }
        } else if (word == "monster") {
            std::string name;
            if (!Read(in, name)) return;
            engine.WizardCreateMonster(name);
        }
    } catch (const CDRAVException& failure) {
        // A template the module lacks or a place the party cannot stand is the
        // tester's typing, not a broken game: it is told and play goes on.
        AppendMessage(failure.GetMessage().empty() ? failure.what() : failure.GetMessage());
    }
}
