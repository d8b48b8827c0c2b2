#pragma once
// The sample game with helpers for script tests: evaluating a body with a context,
// the message lines pushed since the last call, and the innkeeper beside Wren.

#include <functional>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/exception.h"
#include "script/script_test_support.h"
#include "support/child_time_limit.h"
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

// Runs `run` in a child process ended once it has worked `seconds` (LimitChildTime), and gives back
// what it returned, or what ended it: a script that hangs or crashes the game must
// not take the suite with it.
inline std::string OutcomeInChild(const std::function<std::string()>& run, unsigned seconds = 20) {
    int ends[2];
    if (pipe(ends) != 0) return "no pipe";
    const pid_t child = fork();
    if (child < 0) return "no child";
    if (child == 0) {
        close(ends[0]);
        LimitChildTime(seconds);
        const std::string outcome = run();
        for (std::size_t written = 0; written < outcome.size();) {
            const ssize_t n = write(ends[1], outcome.data() + written, outcome.size() - written);
            if (n <= 0) _exit(2);
            written += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(ends[1]);
    std::string outcome;
    char buffer[4096];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
        outcome.append(buffer, static_cast<std::size_t>(n));
    close(ends[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child) return "lost the child";
    if (WIFSIGNALED(status)) return ChildEndedBy(WTERMSIG(status), seconds);
    return outcome;
}

}  // namespace QuillmereTest
