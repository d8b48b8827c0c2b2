#include "script/fresh_lua_state.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "script/lua_sandbox.h"
#include "script/lua_script.h"
#include "script/script_function.h"

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
    // The run of the innermost running evaluation, or null.
    CScriptBudget* EnclosingRun() const { return m_running.empty() ? nullptr : m_running.back()->Record().run; }
    // The run that the evaluation entered last joins: that of the one it runs
    // inside, or null.
    CScriptBudget* RunJoinedByInnermost() const {
        return m_running.size() < 2 ? nullptr : m_running[m_running.size() - 2]->Record().run;
    }

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
    : m_image(PreparedStates().Enter(context.testMode)),
      m_state(m_image.Restore(&context, PreparedStates().RunJoinedByInnermost())) {}

CFreshLuaState::~CFreshLuaState() {
    m_image.Release();
    PreparedStates().Leave();
}

const char* CFreshLuaState::Refusal() {
    CPreparedStates& states = PreparedStates();
    CScriptBudget* run = states.EnclosingRun();
    if (!run) return nullptr;
    if (states.Depth() >= kScriptNestingLimit && !run->stopReason) {
        static const std::string tooDeep =
            "scripts run inside each other more than " + std::to_string(kScriptNestingLimit) + " deep";
        run->stopReason = tooDeep.c_str();
    }
    return SpentReason(*run);
}

const char* SpentEnclosingRun() {
    CScriptBudget* run = PreparedStates().EnclosingRun();
    return run ? SpentReason(*run) : nullptr;
}

}  // namespace DRAV
