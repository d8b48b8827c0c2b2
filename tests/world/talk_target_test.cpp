// Conversation partners share their definition's states but each keeps its own replies.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "rules/definitions/talk_state.h"
#include "rules/kinds/thing_id.h"
#include "support/sample_module.h"
#include "common/data_file_reader.h"
#include "world/talk_target.h"
#include "world/thing.h"

using namespace DRAV;

namespace {

// A partner whose states belong to a shared definition, as a placed object's do.
struct PartnerDefinition {
    std::string name;
    TalkStateList states;
};

class DefinedPartner final : public CThing, public CTalkTarget {
public:
    DefinedPartner(ThingId id, const PartnerDefinition& definition) : CThing(id), m_definition(&definition) {}

    const std::string& GetName() const override { return m_definition->name; }
    const TalkStateList& GetTalkStates() const override { return m_definition->states; }
    void ClearTalkChoices() override { m_choices.clear(); }
    void AppendTalkChoice(std::shared_ptr<CTalkChoice> choice) override { m_choices.push_back(std::move(choice)); }
    std::string GetStartStateName() const override { return GetFirstTalkStateName(GetTalkStates()); }
    TalkChoiceList GetTalkChoices() const override { return m_choices; }

private:
    const PartnerDefinition* m_definition;
    TalkChoiceList m_choices;
};

TalkStateList StatesFrom(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "talk.drav");
    TalkStateList states;
    ReadTalkStates(states, reader);
    return states;
}

}  // namespace

TEST(TalkTarget, StartStateIsTheFirstStateOrEmpty) {
    EXPECT_EQ(GetFirstTalkStateName({}), "");
    TalkStateList states = StatesFrom(
        "<talk> <state> greet <lua> return 0 </lua> </state> <state> farewell <lua> return 0 </lua> </state> "
        "</talk>");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(GetFirstTalkStateName(states), "greet");
    EXPECT_EQ(GetFirstTalkStateName(TalkStateList{nullptr}), "");
}

TEST(TalkTarget, RepliesArePerPartnerWhileStatesArePerDefinition) {
    PartnerDefinition well{"Old Well", StatesFrom("<talk> <state> look <lua> return 0 </lua> </state> </talk>")};
    DefinedPartner first(0x02000001, well);
    DefinedPartner second(0x02000002, well);
    CTalkTarget& a = first;
    CTalkTarget& b = second;

    EXPECT_EQ(&a.GetTalkStates(), &b.GetTalkStates());
    EXPECT_EQ(a.GetStartStateName(), "look");
    EXPECT_EQ(a.GetName(), "Old Well");

    auto drink = std::make_shared<CTalkChoice>("Drink.", "drink");
    a.AddTalkChoice(drink);
    a.AddTalkChoice(std::make_shared<CTalkChoice>("Leave.", ""));
    EXPECT_TRUE(b.GetTalkChoices().empty());
    TalkChoiceList choices = a.GetTalkChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0], drink);
    EXPECT_EQ(choices[1]->GetText(), "Leave.");

    // The list handed out is a copy.
    choices.clear();
    EXPECT_EQ(a.GetTalkChoices().size(), 2u);

    b.AddTalkChoice(drink);
    a.ClearTalkChoices();
    EXPECT_TRUE(a.GetTalkChoices().empty());
    EXPECT_EQ(b.GetTalkChoices().size(), 1u);
    EXPECT_EQ(first.GetId(), 0x02000001u);
}
