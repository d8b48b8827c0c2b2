#pragma once
// Actors of the sample chapter for tests, made from their monster definitions with
// the fields the actor's own rules read.

#include <memory>
#include <string>

#include "rules/module.h"
#include "support/sample_brains.h"
#include "world/actor.h"
#include "world/game.h"

namespace WorldTest {

using QuillmereTest::SampleWithBrains;

// An actor of definition `key` as the module makes it (CModule::CreateActor), in
// `game` when given.
std::shared_ptr<DRAV::CActor> SampleActor(const std::string& key, DRAV::CGame* game = nullptr);

// Writes `actor` to a file of `folder` and gives back the text.
std::string SavedText(const DRAV::CActor& actor, const std::string& path);

// Reads one actor block from `text`.
std::shared_ptr<DRAV::CActor> LoadActor(const std::string& text, DRAV::CGame& game);

// The sample's spell of `key`.
const DRAV::CSpell& Spell(const std::string& key);

// The item of template `key` from the sample, with id 0.
std::shared_ptr<DRAV::CItem> SampleItem(const std::string& key);

}  // namespace WorldTest
