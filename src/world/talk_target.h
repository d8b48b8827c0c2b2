#pragma once
// A conversation partner, as the conversation code sees it: an actor or a placed
// object. States belong to the partner's definition; the replies offered in the
// current conversation belong to the one partner.

#include <memory>
#include <string>
#include <vector>

#include "rules/definitions/talk_state.h"

namespace DRAV {

using TalkChoiceList = std::vector<std::shared_ptr<CTalkChoice>>;

class CTalkTarget {
public:
    // The display name, kept by the partner.
    virtual const std::string& GetName() const = 0;
    // The partner's states in order; an object shares its definition's list.
    virtual const TalkStateList& GetTalkStates() const = 0;
    virtual void ClearTalkChoices() = 0;
    // Offers one more reply.
    void AddTalkChoice(std::shared_ptr<CTalkChoice> choice);
    // The name of the first state, or empty when there are no states.
    virtual std::string GetStartStateName() const = 0;
    // A copy of the offered replies, in the order added.
    virtual TalkChoiceList GetTalkChoices() const = 0;

protected:
    CTalkTarget() = default;
    CTalkTarget(const CTalkTarget&) = default;
    CTalkTarget& operator=(const CTalkTarget&) = default;
    ~CTalkTarget() = default;

    virtual void AppendTalkChoice(std::shared_ptr<CTalkChoice> choice) = 0;
};

// The name of the first of `states`, or empty when there is none: the state a
// conversation begins in.
std::string GetFirstTalkStateName(const TalkStateList& states);

}  // namespace DRAV
