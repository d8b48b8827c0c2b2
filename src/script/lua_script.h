#pragma once
// The Lua script holder: a complete chunk that defines the global function
// drav_script( context ), compiled once when the script is made and run in a Lua
// state of its own for every evaluation.

#include <cstdint>
#include <string>

#include <lua.hpp>

#include "script/compiled_chunk.h"
#include "script/script.h"
#include "script/script_limits.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// The special statistic of a trigger check: 0 locks, 1 traps, 2 diplomacy,
// 3 stealth, 4 observation; this value means no check.
constexpr std::int32_t kTriggerNoSpecialStat = 5;

class CLuaScript : public CScript {
public:
    // Every constructor compiles the script: one that does not compile is code 1
    // with Lua's words, naming the script's origin.

    // The body of a "lua" element: every word up to the element's end, joined on
    // one line. The caller has opened the element and closes it afterwards.
    // `origin` names where it stands (file and element) in every error it raises.
    CLuaScript(DRAVCommon::CDataFileReader& reader, std::string origin);

    // Sets `tag` when run.
    explicit CLuaScript(const std::string& tag);

    // The trigger of an object: once `tag` is set it does nothing; otherwise, when
    // `statistic` is not kTriggerNoSpecialStat and the party fails that check
    // against `number`, nothing this time; else it shows `text` in a box titled
    // `title` and sets `tag`. Code 2 for a statistic outside 0 to 5.
    // `origin` as for a read script.
    CLuaScript(const std::string& tag, std::int32_t statistic, std::int32_t number, const std::string& title,
               const std::string& text, std::string origin = "");

    std::int32_t Eval(CEngine* engine, CScriptContext& context) const override;
    const std::string& GetSource() const override { return m_source; }
    const std::string& GetOrigin() const override { return m_origin; }

    // Defines the native functions of the current table (script_function.h) as
    // globals of `state`: the test-mode handlers when `testMode` is set.
    static void RegisterFunctions(lua_State* state, bool testMode);

private:
    struct Text {
        std::string source;
    };
    // Keeps `text` as the script's source and compiles it.
    CLuaScript(Text text, std::string origin);

    static Text BodyText(DRAVCommon::CDataFileReader& reader);
    static Text SetTagText(const std::string& tag);
    static Text TriggerText(const std::string& tag, std::int32_t statistic, std::int32_t number,
                            const std::string& title, const std::string& text);
    CCompiledChunk Compile() const;

    // Lua's chunk name, and the text that starts its error messages.
    const char* ChunkName() const;
    // `text` as the caller of Eval reads it: naming where the script stands.
    std::string FromOrigin(std::string text) const;
    void CheckStep(lua_State* state, int status, const CEvalRecord& record) const;

    std::string m_source;
    std::string m_origin;
    CCompiledChunk m_chunk;
};

// The context of the evaluation running in `state`: the only one its native
// functions accept. Null outside an evaluation.
CScriptContext* RunningContext(lua_State* state);

}  // namespace DRAV
