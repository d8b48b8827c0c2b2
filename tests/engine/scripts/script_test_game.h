#pragma once
// The sample game with helpers for script tests: evaluating a body with a context,
// the message lines pushed since the last call, and the innkeeper beside Wren.

#include <memory>
#include <string>
#include <vector>

#include "common/exception.h"
#include "script/script_test_support.h"
#include "support/sample_game.h"
#include "world/events/event.h"

namespace QuillmereTest {

class ScriptTestGame : public SampleGame {
public:
    using SampleGame::SampleGame;

    // Evaluates `body` for `actor` (the main character by default) and `partner`.
    std::int32_t Eval(const std::string& body, DRAV::CThing* partner = nullptr, DRAV::CActor* actor = nullptr) const {
        DRAV::CScriptContext context;
        context.actor = actor ? actor : Main().get();
        context.partner = partner;
        return LuaBody(body)->Eval(&Engine(), context);
    }

    // The code-6 text of a body that must fail.
    std::string Failure(const std::string& body, DRAV::CThing* partner = nullptr) const {
        try {
            Eval(body, partner);
        } catch (const CDRAVException& error) {
            if (error.GetCode() == DRAV_ERR_SCRIPT) return error.GetMessage();
            return "code " + std::to_string(error.GetCode());
        }
        return "no failure";
    }

    // Texts of the message events queued since the last call (other events dropped).
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const auto& event : DrainEvents())
            if (auto* message = dynamic_cast<DRAV::CMessageEvent*>(event.get())) lines.push_back(message->GetText());
        return lines;
    }

    std::shared_ptr<DRAV::CActor> Innkeeper() const {
        if (!m_innkeeper) m_innkeeper = Spawn("innkeeper", 8, 4);
        return m_innkeeper;
    }

private:
    mutable std::shared_ptr<DRAV::CActor> m_innkeeper;
};

}  // namespace QuillmereTest
