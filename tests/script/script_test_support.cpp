#include "script/script_test_support.h"

#include "common/data_file_reader.h"
#include "script/script_loader.h"
#include "support/sample_module.h"

namespace QuillmereTest {

std::shared_ptr<DRAV::CLuaScript> ScriptFromText(const std::string& text) {
    DRAVCommon::CDataFileReader reader(TextStream(text), "test.drav");
    return DRAV::LoadScript(reader);
}

std::shared_ptr<DRAV::CLuaScript> LuaBody(const std::string& body) {
    return ScriptFromText("<lua>\n" + body + "\n</lua>\n");
}

}  // namespace QuillmereTest
