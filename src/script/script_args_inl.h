#pragma once

#include "common/exception.h"

namespace DRAV {

template <typename Work>
void ScriptGuardKeepingMessage(Work&& work) {
    try {
        work();
    } catch (const CLuaScriptError&) {
        throw;
    } catch (const CDRAVException& error) {
        throw CLuaScriptError(error.GetMessage().empty() ? std::string("internal error\n") : error.GetMessage());
    } catch (...) {
        throw CLuaScriptError("internal error\n");
    }
}

}  // namespace DRAV
