#pragma once
// The sample chapter loaded once, with the engine's brains, for reading monster
// definitions against its items, spells, factions and monsters.

#include <memory>
#include <string>

#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/rules_test_util.h"
#include "support/sample_brains.h"

namespace MonsterTest {

inline const DRAV::CModule& Sample() { return QuillmereTest::SampleWithBrains(); }

inline const DRAV::CActorTemplate& SampleMonster(const std::string& key) {
    const DRAV::CActorTemplate* monster = Sample().FindMonsterTemplate(key);
    if (!monster) throw std::runtime_error("the sample has no monster " + key);
    return *monster;
}

// Reads one "monster2" element against the sample module.
inline std::shared_ptr<DRAV::CActorTemplate> ReadMonster(const std::string& text) {
    auto reader = RulesTest::ReaderOver(text);
    auto monster = std::make_shared<DRAV::CActorTemplate>(*reader, Sample());
    EXPECT_TRUE(reader->AtEnd()) << "left over: " << reader->GetToken();
    return monster;
}

}  // namespace MonsterTest
