#pragma once

#include "common/exception.h"

namespace DRAV {

template <typename Work>
void ScriptGuard(Work&& work) {
    try {
        work();
    } catch (const CLuaScriptError&) {
        throw;
    } catch (const std::exception& failure) {
        throw CLuaScriptError(ScriptFailureReason(failure));
    } catch (...) {
        throw CLuaScriptError("unknown failure");
    }
}

}  // namespace DRAV
