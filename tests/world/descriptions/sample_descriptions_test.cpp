// Every spell, item and monster of the sample chapter described, with and without
// a caster looking on.

#include <gtest/gtest.h>

#include <sstream>

#include "rules/descriptions/definition_descriptions.h"
#include "rules/descriptions/item_description.h"
#include "rules/monsters/actor_template.h"
#include "world/actor_test_support.h"
#include "world/descriptions/actor_description.h"
#include "world/descriptions/actor_viewer.h"

using namespace DRAV;
using WorldTest::SampleActor;
using WorldTest::SampleWithBrains;

namespace {

// Sentences and lines are never empty: no ". ." or ": LINE", no separator left dangling.
void ExpectWellFormed(const std::string& what, const std::string& text) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(text.empty());
    for (const char* fragment : {":  LINE", ". .", ", LINE", ", .", "( )", "()", " ,"})
        EXPECT_EQ(text.find(fragment), std::string::npos) << "\"" << fragment << "\" in: " << text;
}

}  // namespace

TEST(SampleDescriptions, EveryDefinitionIsDescribed) {
    const CModule& module = SampleWithBrains();
    auto witch = SampleActor("reed_witch");
    const CActorViewer viewer(*witch);
    for (const auto& [key, spell] : module.GetSpells()) {
        for (const CDescriptionViewer* looking : {static_cast<const CDescriptionViewer*>(nullptr),
                                                  static_cast<const CDescriptionViewer*>(&viewer)}) {
            std::ostringstream out;
            EXPECT_NO_THROW(WriteSpellDescription(*spell, module, looking, out)) << key;
            ExpectWellFormed("spell " + key, out.str());
        }
    }
    for (const auto& [key, item] : module.GetItemTemplates()) {
        std::ostringstream out;
        EXPECT_NO_THROW(WriteItemDescription(*item, module, &viewer, out)) << key;
        ExpectWellFormed("item " + key, out.str());
    }
    for (const auto& [key, definition] : module.GetMonsterTemplates()) {
        auto actor = SampleActor(key);
        for (std::int32_t knowledge : {-1, 10, 25}) {
            std::ostringstream out;
            EXPECT_NO_THROW(WriteActorDescription(*actor, module, knowledge, out)) << key;
            ExpectWellFormed("monster " + key + " at " + std::to_string(knowledge), out.str());
        }
    }
}
