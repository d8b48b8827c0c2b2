// What the sample chapter's files promise each other and their readers: the
// import list names items that exist, and the hand-written scripts return the
// answer their callers wait for.

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include <lua.hpp>

#include "engine/brain/brain_functions.h"
#include "rules/definitions/quest_info.h"
#include "rules/definitions/tile_template.h"
#include "rules/module.h"
#include "rules/module_version_range.h"
#include "script/script.h"
#include "script/script_function.h"
#include "support/sample_module.h"

using namespace DRAV;

namespace {

const CModuleVersionRange kExpected("Orvex", 5, 0);

std::set<std::string>& SetTags() {
    static std::set<std::string> tags;
    return tags;
}

int CheckTag(lua_State* state) {
    lua_pushboolean(state, SetTags().count(luaL_checkstring(state, 2)) != 0);
    return 1;
}

const CScriptFunction kFunctions[] = {{"drav_check_tag", CheckTag, CheckTag}};

class ScopedFunctions {
public:
    ScopedFunctions() : m_previous(SetScriptFunctions(kFunctions)) {}
    ~ScopedFunctions() { SetScriptFunctions(m_previous); }

private:
    std::span<const CScriptFunction> m_previous;
};

// The script's answer with exactly `tags` set; the caller needs one, so none is an error.
std::int32_t Answer(const CScript& script, std::set<std::string> tags) {
    SetTags() = std::move(tags);
    CScriptContext context;
    context.resultRequired = true;
    return script.Eval(nullptr, context);
}

class SampleContent : public testing::Test {
protected:
    void SetUp() override {
        m_module.SetBrainFunctions(DRAV::GetBrainFunctions());
        m_module.Load(1, &kExpected, QuillmereTest::SampleFolderSource());
    }
    CModule m_module;
    ScopedFunctions m_functions;
};

}  // namespace

TEST_F(SampleContent, DoorAndQuestScriptsAnswerByTheirTags) {
    const CTileTemplate* gate = m_module.FindTileTemplate("warden_gate");
    ASSERT_NE(gate, nullptr);
    ASSERT_TRUE(gate->GetScript());
    EXPECT_EQ(Answer(*gate->GetScript(), {}), 0);
    EXPECT_EQ(Answer(*gate->GetScript(), {"wardens_trust"}), 1);

    const auto& quest = m_module.GetQuests().at("find_boatwright");
    ASSERT_TRUE(quest->GetScript());
    EXPECT_EQ(Answer(*quest->GetScript(), {}), 0);
    EXPECT_EQ(Answer(*quest->GetScript(), {"boatwright_found"}), 1);
    EXPECT_EQ(Answer(*quest->GetScript(), {"boatwright_drowned"}), 1);
}
