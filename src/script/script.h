#pragma once
// What every script holder offers, and the record a caller hands to one evaluation.

#include <cstdint>
#include <exception>
#include <string>

#include "common/exception.h"

namespace DRAV {

class CEngine;
class CActor;
class CThing;
class CTalkTarget;

// Built on the caller's stack for one evaluation; the native functions read and
// write it through the light userdata the script passes back to them.
struct CScriptContext {
    CScriptContext() = default;

    CEngine* engine = nullptr;           // set by Eval before anything else
    CActor* actor = nullptr;             // the actor the script runs for, may be null
    CThing* partner = nullptr;           // conversation partner, null outside conversations
    bool noQuestCheck = false;           // tags set by the script skip the quest check
    bool resultRequired = false;         // a result that is neither boolean nor number is an error
    bool testMode = false;               // register the test-mode handlers
    CTalkTarget* testPartner = nullptr;  // partner used in test mode
    bool storeRequested = false;         // written by the test handler of drav_store
    std::string nextState;               // conversation state to go to next
};

class CScript {
public:
    virtual ~CScript() = default;

    // Runs the script for `context`; returns its boolean or integer result (else 0).
    // Script errors are CDRAVException code 6; an exception a native function lets
    // escape reaches the caller unchanged.
    virtual std::int32_t Eval(CEngine* engine, CScriptContext& context) const = 0;

    virtual const std::string& GetSource() const = 0;
    // The file and element the script was read from, which its errors name; empty
    // for a script the game made.
    virtual const std::string& GetOrigin() const {
        static const std::string none;
        return none;
    }
};

// Runs `work` and hands back the script error it ended with instead of throwing it,
// for a caller whose own work must be done whatever a script did (a trap to spend,
// a stage to bring on) before the error goes on. Any other failure is thrown.
template <typename Work>
std::exception_ptr HoldScriptError(Work&& work) {
    try {
        work();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        return std::current_exception();
    }
    return nullptr;
}

}  // namespace DRAV
