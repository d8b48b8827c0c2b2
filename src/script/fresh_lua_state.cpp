#include "script/fresh_lua_state.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "script/lua_sandbox.h"
#include "script/lua_script.h"
#include "script/script_function.h"
#include "script/script_run.h"

namespace DRAV {
namespace {

// Builds the state every evaluation starts from: the sandbox's libraries and the
// native functions of the current table.
int PrepareState(lua_State* state) {
    const bool testMode = lua_toboolean(state, 1) != 0;
    OpenSandboxLibraries(state);
    CLuaScript::RegisterFunctions(state, testMode);
    return 0;
}

// A native function may evaluate another script while its own runs (a tag that
// completes a quest runs the quest's script), so every nesting depth has its
// prepared state, one for each test mode, built when first needed and again
// when the function table has changed.
class CPreparedStates {
public:
    CLuaStateImage& Enter(bool testMode) {
        std::vector<Entry>& entries = m_entries[testMode ? 1 : 0];
        const std::size_t depth = m_running.size();
        if (entries.size() <= depth) entries.resize(depth + 1);
        Entry& entry = entries[depth];
        const std::span<const CScriptFunction> table = GetScriptFunctions();
        if (!entry.image || entry.table != table.data() || entry.size != table.size()) {
            entry.image.reset();
            entry.image = std::make_unique<CLuaStateImage>(PrepareState, testMode);
            entry.table = table.data();
            entry.size = table.size();
        }
        m_running.push_back(entry.image.get());
        return *entry.image;
    }
    void Leave() { m_running.pop_back(); }

    std::size_t Depth() const { return m_running.size(); }
    // The record of the innermost running evaluation, or null.
    CEvalRecord* Innermost() const { return m_running.empty() ? nullptr : &m_running.back()->Record(); }

private:
    struct Entry {
        std::unique_ptr<CLuaStateImage> image;
        const CScriptFunction* table = nullptr;
        std::size_t size = 0;
    };
    std::vector<Entry> m_entries[2];
    std::vector<CLuaStateImage*> m_running;
};

CPreparedStates& PreparedStates() {
    static CPreparedStates states;
    return states;
}

}  // namespace

CFreshLuaState::CFreshLuaState(CScriptContext& context)
    : CFreshLuaState(context, RunningEvaluation(), CurrentScriptRun()) {}

CFreshLuaState::CFreshLuaState(CScriptContext& context, CEvalRecord* enclosing, CScriptBudget* run)
    : m_image(PreparedStates().Enter(context.testMode)), m_state(m_image.Restore(&context, run, enclosing)) {}

CFreshLuaState::~CFreshLuaState() {
    m_image.Release();
    PreparedStates().Leave();
}

const char* CFreshLuaState::Refusal() {
    CScriptBudget* run = CurrentScriptRun();
    if (!run) return nullptr;
    if (PreparedStates().Depth() >= kScriptNestingLimit) {
        static const std::string tooDeep =
            "scripts run inside each other more than " + std::to_string(kScriptNestingLimit) + " deep";
        StopRun(*run, RunningEvaluation(), tooDeep.c_str(), ScriptLimit::Depth);
    }
    return SpentReason(*run, RunningEvaluation());
}

CEvalRecord* RunningEvaluation() { return PreparedStates().Innermost(); }

}  // namespace DRAV
