#pragma once
// Scripts standing in module data files, and the scripts generated for triggers.

#include <cstdint>
#include <memory>
#include <string>

#include "script/lua_script.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// True when the current token opens a "lua" or a "settag" element; reads nothing.
bool IsScriptBlock(const DRAVCommon::CDataFileReader& reader);

// Reads the optional script where one may stand: first skips any "( word word )"
// groups (a "0" there is consumed and ends them), then a "lua" or a "settag"
// element. Empty when neither follows; then nothing more is read. `element`
// names what holds the script ("entry dock"); with the reader's file it names the
// script in its errors. A "lua" script that does not compile is code 1.
std::shared_ptr<CLuaScript> LoadScript(DRAVCommon::CDataFileReader& reader, const std::string& element = "");

// The generated script of an object's trigger (see CLuaScript's trigger constructor);
// `origin` names the file and the object in its errors.
std::shared_ptr<CLuaScript> MakeTriggerScript(const std::string& tag, std::int32_t statistic, std::int32_t number,
                                              const std::string& title, const std::string& text,
                                              const std::string& origin = "");

}  // namespace DRAV
