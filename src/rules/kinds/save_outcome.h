#pragma once
// What a successful saving throw leaves of a spell's effect and duration.

#include <cstdint>
#include <string>

namespace DRAV {

struct CSaveOutcome {
    std::int32_t percent = 100;  // what is left after a successful save
    bool scaleEffect = true;
    bool scaleTime = true;

    bool IsMinEffect() const { return percent == 10 && scaleEffect && !scaleTime; }
    bool IsMinTime() const { return percent == 10 && !scaleEffect && scaleTime; }

    bool operator==(const CSaveOutcome&) const = default;
};

// "none", "half", "mineffect", "mintime" or "negate"; any other word is code 1.
CSaveOutcome ParseSaveOutcome(const std::string& word);

}  // namespace DRAV
