#include "script/script_run.h"

#include <string>

#include "script/fresh_lua_state.h"

namespace DRAV {
namespace {

CScriptBudget*& OpenStep() {
    static CScriptBudget* step = nullptr;
    return step;
}

}  // namespace

CScriptRun::CScriptRun() : m_opened(!CurrentScriptRun()) {
    if (m_opened) OpenStep() = &m_budget;
}

CScriptRun::~CScriptRun() {
    if (m_opened) OpenStep() = nullptr;
}

CScriptBudget* CurrentScriptRun() {
    if (CEvalRecord* running = RunningEvaluation()) return running->run;
    return OpenStep();
}

const char* SpentScriptRun() {
    CScriptBudget* run = CurrentScriptRun();
    return run ? SpentReason(*run, RunningEvaluation()) : nullptr;
}

void CountMadeThing() {
    CEvalRecord* record = RunningEvaluation();
    if (!record || !record->call || record->callMade) return;
    record->callMade = true;
    if (++record->run->made <= kScriptMadeLimit) return;
    static const std::string tooMany = "the script makes more than " + std::to_string(kScriptMadeLimit) + " things";
    StopNative(record->call, tooMany.c_str(), ScriptLimit::Made);
}

void CountPage() {
    CEvalRecord* record = RunningEvaluation();
    if (!record || !record->call) return;
    if (++record->run->pages <= kScriptPageLimit) return;
    static const std::string tooMany =
        "the script puts more than " + std::to_string(kScriptPageLimit) + " pages in front of the player";
    StopNative(record->call, tooMany.c_str(), ScriptLimit::Made);
}

}  // namespace DRAV
