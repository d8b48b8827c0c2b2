#include "script/script_test_support.h"

#include <chrono>

#include "common/data_file_reader.h"
#include "common/processor_clock.h"
#include "script/script_loader.h"
#include "support/sample_module.h"

namespace QuillmereTest {
namespace {

int WorkProcessorTime(lua_State* state) {
    const auto until = DRAVCommon::ThreadProcessorTime() + std::chrono::milliseconds(luaL_checkinteger(state, 1));
    while (DRAVCommon::ThreadProcessorTime() < until) {
    }
    return 0;
}

std::vector<DRAV::CScriptFunction> WithWork(std::span<const DRAV::CScriptFunction> table) {
    std::vector<DRAV::CScriptFunction> functions(table.begin(), table.end());
    functions.push_back({"work_processor_time", WorkProcessorTime, WorkProcessorTime});
    return functions;
}

}  // namespace

std::shared_ptr<DRAV::CLuaScript> ScriptFromText(const std::string& text) {
    DRAVCommon::CDataFileReader reader(TextStream(text), "test.drav");
    return DRAV::LoadScript(reader);
}

std::shared_ptr<DRAV::CLuaScript> LuaBody(const std::string& body) {
    return ScriptFromText("<lua>\n" + body + "\n</lua>\n");
}

ScopedProcessorWork::ScopedProcessorWork()
    : m_functions(WithWork(DRAV::GetScriptFunctions())), m_installed(m_functions) {}

}  // namespace QuillmereTest
