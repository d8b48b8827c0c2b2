#include "script/script_function.h"

namespace DRAV {
namespace {

std::span<const CScriptFunction>& CurrentTable() {
    static std::span<const CScriptFunction> table;
    return table;
}

}  // namespace

std::span<const CScriptFunction> GetScriptFunctions() { return CurrentTable(); }

std::span<const CScriptFunction> SetScriptFunctions(std::span<const CScriptFunction> functions) {
    std::span<const CScriptFunction> previous = CurrentTable();
    CurrentTable() = functions;
    return previous;
}

}  // namespace DRAV
