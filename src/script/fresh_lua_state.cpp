#include "script/fresh_lua_state.h"

#include <cstddef>
#include <memory>
#include <span>
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
        if (entries.size() <= m_depth) entries.resize(m_depth + 1);
        Entry& entry = entries[m_depth];
        const std::span<const CScriptFunction> table = GetScriptFunctions();
        if (!entry.image || entry.table != table.data() || entry.size != table.size()) {
            entry.image.reset();
            entry.image = std::make_unique<CLuaStateImage>(PrepareState, testMode);
            entry.table = table.data();
            entry.size = table.size();
        }
        ++m_depth;
        return *entry.image;
    }
    void Leave() { --m_depth; }

private:
    struct Entry {
        std::unique_ptr<CLuaStateImage> image;
        const CScriptFunction* table = nullptr;
        std::size_t size = 0;
    };
    std::vector<Entry> m_entries[2];
    std::size_t m_depth = 0;
};

CPreparedStates& PreparedStates() {
    static CPreparedStates states;
    return states;
}

}  // namespace

CFreshLuaState::CFreshLuaState(CScriptContext& context)
    : m_image(PreparedStates().Enter(context.testMode)), m_state(m_image.Restore(&context)) {}

CFreshLuaState::~CFreshLuaState() {
    m_image.Release();
    PreparedStates().Leave();
}

}  // namespace DRAV
