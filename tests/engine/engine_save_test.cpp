// Saved games: the round trip through a fresh engine, the version rules, and
// failed loads that must leave the running game alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "support/expect_drav.h"
#include "support/sample_save.h"
#include "support/save_text.h"
#include "support/temp_dir.h"
#include "rules/monsters/actor_names.h"
#include "script/script_limits.h"
#include "world/object.h"
#include "world/save_head.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::ReadTextFile;
using QuillmereTest::StartSampleGame;
using QuillmereTest::TempDir;

namespace {

const CModuleVersionRange kExpected("Orvex", 5, 0);

std::shared_ptr<CEngine> FreshEngine() {
    auto engine = std::make_shared<CEngine>();
    engine->LoadModule(1, kExpected, QuillmereTest::SampleFolderSource());
    return engine;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// The file with `from` replaced once by `to`.
std::string Edited(const TempDir& dir, const std::string& text, const std::string& from, const std::string& to,
                   const std::string& name) {
    std::string edited = text;
    const auto at = edited.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) edited.replace(at, from.size(), to);
    return dir.WriteFile(name, edited);
}

TEST(EngineSave, AGameLoadedIntoAFreshEngineSavesTheSameTree) {
    auto game = StartSampleGame();
    QuillmereTest::PlaySampleGame(game);
    TempDir dir;
    const std::string quick = "slot 1 = fireball";
    for (std::int32_t page : {0, 5, 21}) game.Game().MarkTutorialShown(page);
    game.Engine().SaveGame(dir / "one.drav", kExpected, &quick);

    auto engine = FreshEngine();
    std::string bonus = "untouched";
    engine->LoadGame(dir / "one.drav", kExpected, bonus);
    EXPECT_EQ(bonus, quick);
    const CGame& loaded = *engine->GetGame();
    ASSERT_EQ(loaded.GetParty().size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(loaded.GetParty()[i]->GetName(), game.Game().GetParty()[i]->GetName()) << i;
        EXPECT_EQ(loaded.GetParty()[i]->GetPartyIndex(), i);
    }
    EXPECT_EQ(loaded.GetGold(), game.Game().GetGold());
    for (std::int32_t page = 0; page < 22; ++page)
        EXPECT_EQ(loaded.WasTutorialShown(page), page == 0 || page == 5 || page == 21) << "tutorial page " << page;
    ASSERT_NE(loaded.GetCurrentArea(), nullptr);
    EXPECT_EQ(loaded.GetCurrentArea()->GetName(), "reed_marsh");
    EXPECT_EQ(loaded.GetAreas().size(), 2u);
    EXPECT_EQ(loaded.GetParty()[0]->GetArea(), loaded.GetCurrentArea());

    // A load numbers every thing anew: saved, loaded and saved again, only the path differs.
    engine->SaveGame(dir / "two.drav", kExpected, &quick);
    engine = FreshEngine();
    engine->LoadGame(dir / "two.drav", kExpected, bonus);
    engine->SaveGame(dir / "three.drav", kExpected, &quick);
    const auto one = Lines(ReadTextFile(dir / "two.drav"));
    const auto two = Lines(ReadTextFile(dir / "three.drav"));
    ASSERT_EQ(one.size(), two.size());
    std::vector<std::string> differing;
    for (std::size_t i = 0; i < one.size(); ++i)
        if (one[i] != two[i]) differing.push_back(one[i] + " | " + two[i]);
    ASSERT_EQ(differing.size(), 1u);
    EXPECT_NE(differing[0].find("two.drav"), std::string::npos);
    // The loaded game plays on.
    engine->RunTick();
}

TEST(EngineSave, VersionsAndChaptersThatDoNotFitAreRefusedAndTheRunningGameStays) {
    auto game = StartSampleGame();
    TempDir dir;
    game.Engine().SaveGame(dir / "good.drav", kExpected, nullptr);
    const std::string text = ReadTextFile(dir / "good.drav");
    const auto running = game.Engine().GetGame();
    const auto main = game.Main();
    const std::string header = "<version>\n  Orvex\n  5\n  0\n";
    struct Case {
        std::string version;
        std::int32_t code;
    };
    const std::vector<Case> cases = {
        {"<version>\n  orvex\n  5\n  0\n", DRAV_ERR_SAVE_VERSION}, {"<version>\n  Orvex\n  4\n  0\n", DRAV_ERR_SAVE_VERSION},
        {"<version>\n  Orvex\n  2\n  9\n", DRAV_ERR_SAVE_VERSION},  // chapter 1 reads no version 2
        {"<version>\n  Orvex\n  1\n  4\n", DRAV_ERR_SAVE_VERSION}, {"<version>\n  Orvex\n  6\n  0\n", DRAV_ERR_SAVE_VERSION},
    };
    std::string bonus = "kept";
    for (const Case& c : cases) {
        const std::string path = Edited(dir, text, header, c.version, "bad.drav");
        SCOPED_TRACE(c.version);
        EXPECT_DRAV_CODE(game.Engine().LoadGame(path, kExpected, bonus), c.code);
    }
    EXPECT_DRAV_CODE(game.Engine().LoadGame(Edited(dir, text, "(1\n", "(2\n", "bad.drav"), kExpected, bonus),
                     DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(game.Engine().LoadGame(Edited(dir, text, "(1\n false)\n", "0\n", "bad.drav"), kExpected, bonus),
                     DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(
        game.Engine().LoadGame(Edited(dir, text, "\"reedwater_landing\"\n", "\"reed_marsh\"\n", "bad.drav"),
                               kExpected, bonus),
        DRAV_ERR_BAD_DATA);  // current area not among the saved ones
    EXPECT_EQ(game.Engine().GetGame(), running);
    EXPECT_EQ(game.Main(), main);
    EXPECT_EQ(main->GetArea(), &game.Area());
    EXPECT_EQ(bonus, "kept");

    // Version 3 of the game's own module still loads, without "difficulty" at the core level.
    std::string old = text;
    old.replace(old.find(header), header.size(), "<version>\n  Orvex\n  3\n  0\n");
    const auto difficulty = old.find(" <difficulty>");
    old.erase(difficulty, old.find("</difficulty>\n") + 14 - difficulty);
    game.Engine().LoadGame(dir.WriteFile("old.drav", old), kExpected, bonus);
    EXPECT_NE(game.Engine().GetGame(), running);
    EXPECT_EQ(game.Game().GetDifficulty(), DIFFICULTY_CORE);
    EXPECT_EQ(game.Main()->GetName(), "Wren");
    EXPECT_EQ(bonus, "kept");
}

TEST(EngineSave, EmptyPointsComeBackEmpty) {
    auto game = StartSampleGame();
    game.Game().SetResurrectionPoint({"", ""});
    game.Game().SetReturnPoint({"reed_marsh", ""});
    TempDir dir;
    game.Engine().SaveGame(dir / "points.drav", kExpected, nullptr);

    auto engine = FreshEngine();
    std::string bonus;
    engine->LoadGame(dir / "points.drav", kExpected, bonus);
    const CGame& loaded = *engine->GetGame();
    EXPECT_EQ(loaded.GetResurrectionPoint(), (AreaEntryPoint{"", ""}));
    EXPECT_EQ(loaded.GetReturnPoint(), (AreaEntryPoint{"reed_marsh", ""}));
    ASSERT_NE(loaded.GetCurrentArea(), nullptr);
    EXPECT_EQ(loaded.GetCurrentArea()->GetName(), "reedwater_landing");
}

// The party has left one area and entered none: no load could go on from there,
// and older builds saved such a game.
TEST(EngineSave, AGameBetweenAreasIsNeitherSavedNorLoaded) {
    auto game = StartSampleGame();
    TempDir dir;
    game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr);
    const std::string before = ReadTextFile(dir / "game.drav");
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();  // the party now travels with the game, outside any area
    ASSERT_EQ(game.Game().GetCurrentArea(), nullptr);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr)),
              "the party is between areas");
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_TRUE(ReadTextFile(dir / "game.drav") == before) << "the save before is written over";
    EXPECT_FALSE(std::filesystem::exists(dir / "game.drav.part"));
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "other.drav", kExpected, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_FALSE(std::filesystem::exists(dir / "other.drav"));

    auto engine = FreshEngine();
    std::string bonus = "kept";
    engine->LoadGame(dir / "game.drav", kExpected, bonus);
    const auto running = engine->GetGame();
    std::string area;
    const std::string nowhere = dir.WriteFile("nowhere.drav", QuillmereTest::WithoutCurrentArea(before, area));
    ASSERT_EQ(area, "reedwater_landing");
    const auto caught = QuillmereTest::CatchDrav([&] { engine->LoadGame(nowhere, kExpected, bonus); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(caught->GetMessage(), nowhere + ": the saved game has no current area");
    EXPECT_EQ(engine->GetGame(), running);
    EXPECT_EQ(bonus, "kept");
}

TEST(EngineSave, AFailedSaveLeavesThePreviousFileWhole) {
    auto game = StartSampleGame();
    TempDir dir;
    game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr);
    const std::string before = ReadTextFile(dir / "game.drav");
    // A tag no saved game can hold stops the writer halfway through the tree.
    game.Game().GetQuestTags()["two words"] = 1;
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ReadTextFile(dir / "game.drav"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "game.drav.part"));
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "missing/game.drav", kExpected, nullptr), DRAV_ERR_BAD_DATA);
    // A game that has used up its serials saves, and the save loads, numbering every
    // thing anew. One that holds more than a load takes back is refused before anything
    // is written.
    game.Game().GetQuestTags().erase("two words");
    const auto goblin = game.Spawn("reed_goblin", 8, 6);
    game.Game().SetThingSerialCounter(kMaxThingSerial + 1);
    game.Engine().SaveGame(dir / "spent.drav", kExpected, nullptr);
    std::string bonus;
    FreshEngine()->LoadGame(dir / "spent.drav", kExpected, bonus);
    for (std::size_t i = 0; i <= kSavedItemListLimit; ++i)
        goblin->AddToBackpack(game.Engine().GetModule()->CreateItem("dagger", 1, 0, 0), false);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr)),
              "a list of more than the 4096 items a save keeps together: the game cannot be saved");
    EXPECT_EQ(ReadTextFile(dir / "game.drav"), before);
    game.Area().RemoveActor(*goblin);
    CStore& store = *game.Game().GetStores().at("landing_trader");
    const std::size_t stocked = store.GetStock().size();
    while (store.GetStock().size() <= kSavedItemListLimit)
        store.AddItem(game.Engine().GetModule()->CreateItem("eel_pie", 1, 0, 0));
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr)),
              "a list of more than the 4096 items a save keeps together: the game cannot be saved");
    while (store.GetStock().size() > stocked) store.RemoveItem(*store.GetStock().back());
    // A long game whose last actor took one of the last serials: its load numbers the
    // goblin low again, and the loaded game has its serials back.
    game.Game().SetThingSerialCounter(kMaxThingSerial - 20);
    ASSERT_NE(game.Spawn("reed_goblin", 8, 6), nullptr);
    game.Engine().SaveGame(dir / "long.drav", kExpected, nullptr);
    const auto loaded = FreshEngine();
    loaded->LoadGame(dir / "long.drav", kExpected, bonus);
    EXPECT_LT(loaded->GetGame()->GetThingSerialCounter(), 1000u);
    EXPECT_LT(loaded->GetGame()->GetCurrentArea()->GetActors().back()->GetId() & kMaxThingSerial, 1000u);
    // Nor is a game whose hero's name or quick actions no load would take back.
    game.Main()->SetName("");
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr)),
              "the main character's name is empty");
    game.Main()->SetName("Wren");
    const std::string quick(kSavedAppLineLimit + 1, 'q');
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, &quick)),
              "the quick actions of 8193 bytes are longer than the 8192 a save keeps");
    game.Game().SetTick(kLastSavedTick + 1);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kExpected, nullptr)),
              "the game's clock is past tick " + std::to_string(kLastSavedTick) + ", the last a save holds");
    EXPECT_EQ(ReadTextFile(dir / "game.drav"), before);
}

// Heartbeats keep the rhythm the saved game had: loaded into the engine that played
// on far past the save, the next heartbeat comes when it was due at the save.
TEST(EngineSave, TheNextHeartbeatComesBackWithTheGame) {
    auto game = StartSampleGame();
    TempDir dir;
    const std::uint32_t savedTick = game.Game().GetTick();
    const std::uint32_t due = game.Game().GetNextHeartbeatTick();
    // Drawn on entry: 5 to 15 game seconds after it.
    ASSERT_GE(due, savedTick + 150);
    ASSERT_LT(due, savedTick + 450);
    game.Engine().SaveGame(dir / "beat.drav", kExpected, nullptr);

    // Play on for a long while, then load into the same engine.
    game.Game().SetTick(3000000);
    game.Tick();
    EXPECT_GT(game.Game().GetNextHeartbeatTick(), 3000000u);
    std::string quick;
    game.Engine().LoadGame(dir / "beat.drav", kExpected, quick);
    EXPECT_EQ(game.Game().GetTick(), savedTick);
    EXPECT_EQ(game.Game().GetNextHeartbeatTick(), due);
    // Ticks up to the due one draw nothing new; the due one runs and draws afresh.
    while (game.Game().GetTick() + 1 < due) game.Tick();
    EXPECT_EQ(game.Game().GetNextHeartbeatTick(), due);
    game.Tick();
    EXPECT_EQ(game.Game().GetTick(), due);
    EXPECT_GE(game.Game().GetNextHeartbeatTick(), due + 150);
    EXPECT_LT(game.Game().GetNextHeartbeatTick(), due + 450);
}

TEST(EngineSave, ASaveNamedWithoutAFolderGoesToTheWorkingFolder) {
    auto game = StartSampleGame();
    TempDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    // The folder synced after the rename is the working one.
    const auto caught = QuillmereTest::CatchDrav([&] { game.Engine().SaveGame("bare.drav", kExpected, nullptr); });
    std::filesystem::current_path(before);
    EXPECT_FALSE(caught) << caught->GetMessage();
    EXPECT_TRUE(std::filesystem::exists(dir / "bare.drav"));
    EXPECT_FALSE(std::filesystem::exists(dir / "bare.drav.part"));
}

// A count a module gives is one a saved game carries back: a pile, a store, a
// monster's pack and its drops at the largest count a stack holds all return from a
// save as they went in, and a count past it stops the game at the file that holds it.
TEST(EngineSave, ItemCountsPastWhatASaveCarriesAreRefusedWhereTheyAreRead) {
    for (const std::string count : {"2147483648", "4294967295"}) {
        SCOPED_TRACE(count);
        const auto source = QuillmereTest::EditedSampleSource(DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav",
                                                              "( cork_float 2 )", "( cork_float " + count + " )");
        const auto caught = QuillmereTest::CatchDrav([&] { QuillmereTest::SampleGame game(source); });
        if (!caught) {
            ADD_FAILURE() << "loaded";
            continue;
        }
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
        EXPECT_NE(caught->GetMessage().find("reedwater_landing.drav: expected an item count from 0 to 2147483647 at \"" +
                                            count + "\""),
                  std::string::npos)
            << caught->GetMessage();
    }
}

TEST(EngineSave, EveryKindOfItemListComesBackFromASaveAtItsLargestCount) {
    const std::string most = std::to_string(kMostInStack);
    const auto source = QuillmereTest::EditedSampleSource({
        {DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav", "( cork_float 2 )", "( cork_float " + most + " )"},
        {DRAVCommon::DFK_CHAPTER, "monsters.drav", "( smugglers_flare 1 )", "( smugglers_flare " + most + " )"},
        {DRAVCommon::DFK_CHAPTER, "monsters.drav", "( gold 8 ) river_tonic", "( gold " + most + " ) river_tonic"},
        {DRAVCommon::DFK_CHAPTER, "monsters.drav", "reed_lantern ( gold 40 )", "( reed_lantern " + most + " )"},
        {DRAVCommon::DFK_CHAPTER, "monsters.drav", "<auto> 1 ( 20 60 ) weapon </auto>",
         "<auto> " + most + " ( 20 60 ) weapon </auto> <auto> ( 100 " + most + " ) ( 20 60 ) armor </auto>"},
        {DRAVCommon::DFK_CHAPTER, "monsters.drav", "<treasure> 60 </treasure>", "<treasure> " + most + " </treasure>"},
    });
    QuillmereTest::SampleGame game(source);
    for (const char* key : {"smuggler_captain", "goblin_archer", "reed_smuggler"})
        ASSERT_NE(game.Spawn(key, 8, 6), nullptr) << key;
    // Every stack of the game as "holder: key count", sorted.
    const auto stacks = [](const CGame& state) {
        std::vector<std::string> found;
        const auto add = [&](const std::string& holder, const CItem* item) {
            if (item) found.push_back(holder + ": " + item->GetTemplate().GetKey() + " " + std::to_string(item->GetCount()));
        };
        for (const auto& [name, area] : state.GetAreas()) {
            for (const auto& actor : area->GetActors()) {
                for (const auto& item : actor->GetBackpackItems()) add(actor->GetName(), item.get());
                for (const auto& item : actor->GetDropItemList()) add(actor->GetName() + " drops", item.get());
                for (int slot = 0; slot < kEquipSlotCount; ++slot)
                    add(actor->GetName(), actor->GetEquipped(static_cast<EquipSlot>(slot)));
            }
            for (const auto& object : area->GetObjects())
                for (const auto& item : object->GetItems()) add(object->GetName(), item.get());
        }
        for (const auto& [owner, store] : state.GetStores())
            for (const auto& item : store->GetStock()) add(owner + " sells", item.get());
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::vector<std::string> before = stacks(game.Game());
    const auto holds = [&](const std::string& prefix, const std::string& suffix) {
        return std::any_of(before.begin(), before.end(), [&](const std::string& stack) {
            return stack.starts_with(prefix) && stack.ends_with(suffix);
        });
    };
    EXPECT_TRUE(holds("Float Basket: cork_float ", most));
    EXPECT_TRUE(holds("landing_trader sells: reed_lantern ", most));
    EXPECT_TRUE(holds("Captain Marrow: smugglers_flare ", most));
    EXPECT_TRUE(holds("Goblin Archer drops: gold ", most));
    // Every weapon in range at the fixed count; treasure's gold is what its items leave of the value.
    EXPECT_TRUE(holds("Reed Smuggler: ", " " + most));
    const auto gold = std::find_if(before.begin(), before.end(),
                                   [](const std::string& stack) { return stack.starts_with("Reed Smuggler drops: gold "); });
    ASSERT_NE(gold, before.end());
    EXPECT_GE(std::stoll(gold->substr(gold->rfind(' ') + 1)), kMostInStack / 2);

    TempDir dir;
    game.Engine().SaveGame(dir / "most.drav", kExpected, nullptr);
    CEngine loaded;
    loaded.LoadModule(1, kExpected, source);
    std::string bonus;
    loaded.LoadGame(dir / "most.drav", kExpected, bonus);
    EXPECT_EQ(stacks(*loaded.GetGame()), before);
}

// Edits of a real save, taken while the smugglers' lookout holds back as after a
// wake. A serial counter at or below a saved serial would hand a new thing one in
// use; held foes that are no foe of the area are let go.
TEST(EngineSave, ASaveHoldsOnlyWhatTheGameCouldHaveWritten) {
    auto game = StartSampleGame();
    game.Engine().SetTag("hide_fought", true);
    ThingId lookout = 0;
    std::uint32_t hesk = 0;
    std::uint32_t highest = 0;
    for (const auto& actor : game.Area().GetActors()) {
        const std::uint32_t serial = actor->GetId() & kMaxThingSerial;
        highest = std::max(highest, serial);
        if (actor->GetTemplateName() == "smuggler_lookout") lookout = actor->GetId();
        if (actor->GetTemplateName() == "ferry_keeper") hesk = serial;
    }
    ASSERT_NE(lookout, 0u);
    ASSERT_NE(hesk, 0u);
    game.Game().HoldBack(lookout);
    TempDir dir;
    game.Engine().SaveGame(dir / "held.drav", kExpected, nullptr);
    const std::string text = ReadTextFile(dir / "held.drav");
    // Line `index` of the five numbers after the difficulty (tick, serial counter,
    // state code, gold, next heartbeat) and the resurrection point made `value`.
    const auto number = [&](int index, const std::string& value) {
        std::size_t at = text.find("</difficulty>\n") + 14;
        for (int line = 0; line < index; ++line) at = text.find('\n', at) + 1;
        return text.substr(0, at) + " " + value + text.substr(text.find('\n', at));
    };
    const std::string held = "<holding>\n  " + std::to_string(lookout & kMaxThingSerial) + "\n";
    ASSERT_NE(text.find(held), std::string::npos);
    const auto holding = [&](const std::string& serials) {
        return text.substr(0, text.find(held)) + held + serials + text.substr(text.find(held) + held.size());
    };
    const auto edited = [&](const std::string& from, const std::string& to) {
        return std::string(text).replace(text.find(from), from.size(), to);
    };
    // Line `index` of the hero's block after her serial (x, y, facing, radius, height) made `value`.
    const std::string hero = "<actor>\n    " + std::to_string(game.Main()->GetId() & kMaxThingSerial) + "\n";
    const auto heroLine = [&](int index, const std::string& value) {
        std::size_t at = text.find(hero) + hero.size();
        while (index-- > 0) at = text.find('\n', at) + 1;
        return text.substr(0, at) + value + text.substr(text.find('\n', at));
    };
    // `count` groups, the n-th `group(n)`, after the first `after`.
    const auto many = [&](const std::string& after, int count, const auto& group) {
        std::string groups;
        while (count-- > 0) groups += group(count);
        return edited(after, after + groups);
    };
    const auto named = [](int n) { return " (n" + std::to_string(n) + " 1)"; };
    const std::string heskBlock = text.substr(text.find("<actor>\n    " + std::to_string(hesk) + "\n"));
    const std::string heskIds = "\"Mother Hesk\"";
    // Hesk's saved line `from` (the first after her name) made `to`.
    const auto heskLine = [&](const std::string& from, const std::string& to) {
        return std::string(text).replace(text.find(from, text.find(heskIds)), from.size(), to);
    };
    const std::string longest(kScriptWordLimit, 'w');
    const std::string line(kExpandedTextLimit + 1, 'x');
    const auto person = [&](const std::string& key, const std::string& note) {
        return edited("<people>\n", "<people>\n<entry> " + key + " \"Hollis\" \"The Landing\" \"" + note + "\" </entry>\n");
    };
    const std::string heskActor = heskBlock.substr(0, heskBlock.find("</actor>") + 8);
    // Hesk's block after her serial, to be given another.
    const std::string heskBody = heskActor.substr(heskActor.find('\n', 8));
    // Tansy's store, after the kinds she buys; her stock is nine stacks.
    const std::string tansy = "money\n   </buy>\n   <items>\n";
    const auto stock = [](int) { return "<item> eel_pie 1 </item>\n"; };
    const std::string tansyStore = text.substr(text.find(" <actorstore>\n  landing_trader"));
    const std::string area = text.substr(text.find(" <area>\n"));
    // The area's block with nobody in it, as a second block of the same area.
    const std::string emptyArea = area.substr(0, area.find("<actors>") + 8) + "\n" + area.substr(area.find("</actors>"));
    const auto quoted = [](std::size_t size, char c) { return "\"" + std::string(size, c) + "\""; };
    const std::string heldEnd = "</holding>\n";
    const std::string pile = "<stack> pile 10 10 (eel_pie 1 0) </stack>\n";
    const std::uint32_t counter = game.Game().GetThingSerialCounter();
    std::string flood;
    for (std::uint32_t i = 0; i < 100000; ++i) flood += "  " + std::to_string(counter + i) + "\n";
    struct Row {
        const char* what;
        std::string save;
        std::string refused;  // the value the refusal names; empty when the save loads
    };
    const std::vector<Row> rows = {
        {"gold past the signed range", number(3, "4294967295"), "4294967295"},
        {"gold one past the most", number(3, "2147483648"), "2147483648"},
        {"gold below none", number(3, "-1"), "-1"},
        {"the most gold", number(3, "2147483647"), ""},
        {"a state code past the signed range", number(2, "4294967295"), "4294967295"},
        {"a state code past the last", number(2, "9"), "9"},
        {"a state code below the first", number(2, "-1"), "-1"},
        {"the chapter won", number(2, "7"), ""},
        {"a serial counter of 0", number(1, "0"), "0"},
        {"a serial counter at the highest serial", number(1, std::to_string(highest)), std::to_string(highest)},
        {"a serial counter past the highest serial", number(1, std::to_string(highest + 1)), ""},
        {"a serial counter near the last serial", number(1, "16777200"), ""},
        {"two actors of one serial", edited("<actor>\n    " + std::to_string(hesk) + "\n", hero),
         "two saved actors have the serial " + std::to_string(game.Main()->GetId() & kMaxThingSerial)},
        {"an actor outside areas of an area's actor's serial",
         many("<nonlocated>", 1, [&](int) { return "\n" + heskActor; }),
         "two saved actors have the serial " + std::to_string(hesk)},
        {"a resurrection area nowhere", number(5, "nowhere"), "resurrection area \"nowhere\""},
        {"the travel map to wake in", number(5, "reedwater_map"), "resurrection area \"reedwater_map\""},
        {"a resurrection entry nowhere", number(6, "nowhere"), "entry \"nowhere\""},
        {"a fired patch the area lacks", std::string(text).replace(text.find("lookout_posted"), 14, "no_such_patch"),
         "patch \"no_such_patch\""},
        {"the hero out of the party", std::string(text).replace(text.find("</ids>\n    party") + 11, 5, "neutral"),
         "the main character \"Wren\" is not in the saved party"},
        {"no main character", edited("<ids>\n     0\n     main\n", "<ids>\n     0\n     ferry_keeper\n"),
         "the saved game has no main character"},
        {"a tag the writer refuses", edited("(hide_fought", "(#hide_fought"), "cannot be saved again"},
        {"a name with a double quote", edited("\"Mother Hesk\"", "\"Mother H\"esk\""), "double quote"},
        {"a radius below none", heroLine(3, "-1"), "a radius from 0 to 2500"},
        {"a radius of none", heroLine(3, "0"), "radius of 0"},
        {"a radius past the largest", heroLine(3, "1e9"), "a radius from 0 to 2500"},
        {"the largest radius", heroLine(3, "2500"), ""},
        {"a height past the largest", heroLine(4, "1e308"), "a height from 0 to 2500"},
        {"the hero east of the grid", heroLine(0, "1e9"), "actor \"Wren\" at (1e+09 "},
        {"the hero north of the grid", heroLine(1, "-0.5"), "lies off the grid of area \"reedwater_landing\""},
        {"more map locations than scripts reveal", many("<revealed>", 2049, named), "more than 2048 names"},
        {"as many map locations as scripts reveal", many("<revealed>", 2048, named), ""},
        {"more tags than a save keeps", many("<questtags>", 4096, named), "more than 4096 names"},
        {"more stacks in a pack than a save keeps", many("<backpack>", 4096, [](int) { return " (dagger 1 0)"; }),
         "a list of more than 4096 items"},
        {"more actors outside areas than a party holds",
         many("<nonlocated>", 7, [&](int n) { return "\n<actor>\n    " + std::to_string(counter + n) + heskBody; }),
         "party holds"},
        {"a store no monster keeps", edited("innkeeper\n  <store>", "nobody\n  <store>"), "no monster \"nobody\""},
        {"a million stacks in Tansy's store", many(tansy, 1000000, stock), "a list of more than 4096 items"},
        {"as many stacks in Tansy's store as a save keeps", many(tansy, 4096 - 9, stock), ""},
        {"a store stocked at random", edited(tansy, tansy + "<treasure> 900 </treasure>\n"), "expected <item>"},
        {"Tansy's store twice", edited(" <area>\n", tansyStore.substr(0, tansyStore.find("</actorstore>") + 14) + " <area>\n"),
         "a second store of \"landing_trader\""},
        {"the landing twice", edited(" <area>\n", emptyArea.substr(0, emptyArea.find(" </area>") + 9) + " <area>\n"),
         "a second area \"reedwater_landing\""},
        {"a tag name of a megabyte", edited("(hide_fought", "(" + std::string(1 << 20, 't')),
         "a quest tag of 1048576 bytes is longer than the 64 a save keeps"},
        {"the longest tag name", edited("(hide_fought", "(" + longest), ""},
        {"a journal key past the longest", edited("<journal>\n", "<journal>\n " + longest + "j q 1\n"),
         "a journal key of 65 bytes"},
        {"a quest key past the longest", edited("<journal>\n", "<journal>\n j " + longest + "q 1\n"), "a quest key of 65"},
        {"the longest journal keys", edited("<journal>\n", "<journal>\n " + longest + " " + longest + " 1\n"), ""},
        {"a map location past the longest", edited("<revealed>\n", "<revealed>\n (" + longest + "m 1)\n"),
         "a map location of 65 bytes"},
        {"a completion tag past the longest", heskLine("keeper\n     0\n", "keeper\n     " + longest + "c\n"),
         "a completion tag of 65 bytes"},
        {"a page of nobody the module has", person("nobody", "Hi."), "no monster is known as \"nobody\""},
        {"a note longer than a line grows", person("hollis", line), "a note of 8193 bytes"},
        {"the longest note", person("hollis", line.substr(1)), ""},
        {"an ending longer than a text grows", edited("<difficulty>", "<ending> \"" + line + "\" </ending> <difficulty>"),
         "an ending of 8193 bytes"},
        {"a 4 MB word as the entry area", edited("<entry>\n  reedwater_landing", "<entry>\n  " + std::string(4 << 20, 'e')),
         "destination area of 4194304 bytes is no area of the module"},
        {"a destination nowhere", edited("<entry>\n  reedwater_landing\n  dock", "<entry>\n  reedwater_landing\n  nowhere"),
         "destination area \"reedwater_landing\" has no entry \"nowhere\""},
        {"the travel map as destination", edited("<entry>\n  reedwater_landing\n  dock", "<entry>\n  reedwater_map\n  0"), ""},
        {"an arrival on the travel map", edited("dock\n  reedwater_landing\n  dock", "dock\n  reedwater_map\n  0"),
         "arrival area \"reedwater_map\""},
        {"a return point nowhere", number(7, "nowhere"), "return area \"nowhere\""},
        {"a last area nowhere", edited("</entry>\n 0\n", "</entry>\n nowhere\n"), "last area \"nowhere\""},
        {"a person of the party not in it", heskLine("neutral\n    0\n", "party\n    7\n"),
         "\"Mother Hesk\" stands with the party but is not in it"},
        {"the hero facing 1e308", heroLine(2, "1e308"), "a facing from"},
        {"the hero facing back", heroLine(2, "-4.71238898"), ""},
        {"a tick near the counter's end", number(0, "4294967000"), "tick from 0 to 4026531840 at \"4294967000\""},
        {"the last tick a save holds", number(0, std::to_string(kLastSavedTick)), ""},
        {"a hero's name of a megabyte", heroLine(6, quoted(1 << 20, 'w')), "a name of 1048576 bytes"},
        {"a hero's name past the name page's", heroLine(6, quoted(kHeroNameLimit + 1, 'w')),
         "the main character's name of 33 bytes is longer than the 32 the name page takes"},
        {"the longest hero's name", heroLine(6, quoted(kHeroNameLimit, 'w')), ""},
        {"a hero's name with a NUL", heroLine(6, std::string("\"Wr\0en\"", 7)), "name holds a NUL byte"},
        {"a hero's name not UTF-8", heroLine(6, "\"Wr\xE9n\""), "name is not UTF-8"},
        {"a hero's name cut inside a letter", heroLine(6, "\"Wre\xCC\""), "name is not UTF-8"},
        {"a hero's name in UTF-8", heroLine(6, "\"Wr\xC3\xA9n\""), ""},
        {"an empty hero's name", heroLine(6, "\"\""), "the main character's name is empty"},
        {"a hero's name of no letter", heroLine(6, "\"- _\""), "name holds no letter or digit"},
        {"a head naming a hero of a megabyte", edited("\"Wren\"", quoted(1 << 20, 'w')), "name of 1048576 bytes"},
        {"Mother Hesk at a megabyte", edited(heskIds, quoted(1 << 20, 'h')), "a name of 1048576 bytes"},
        {"Mother Hesk at the longest", edited(heskIds, quoted(kActorNameLimit, 'h')), ""},
        {"quick actions of 64 MB", edited(heldEnd, heldEnd + "<bonus> " + quoted(64 << 20, 'q') + " </bonus>\n"),
         "the quick actions of 67108864 bytes"},
        {"the longest quick actions", edited(heldEnd, heldEnd + "<bonus> " + quoted(kSavedAppLineLimit, 'q') + " </bonus>\n"),
         ""},
        {"a name word past the longest", edited("<ids>\n     hollis\n", "<ids>\n     " + longest + "h\n"),
         "a name word of 65 bytes"},
        {"a door open twice", edited("<doors>\n   15\n   8\n", "<doors>\n   15\n   8\n   15\n   8\n"),
         "a second open door at (15 8)"},
        {"two piles on one cell", edited("<itemstacks>\n", "<itemstacks>\n" + pile + pile), "a second pile at (10 10)"},
        {"a pile", edited("<itemstacks>\n", "<itemstacks>\n" + pile), ""},
        {"a held serial of nobody", holding("  " + std::to_string(counter + 5) + "\n"), ""},
        {"the hero held", holding("  " + std::to_string(game.Main()->GetId() & kMaxThingSerial) + "\n"), ""},
        {"Mother Hesk held", holding("  " + std::to_string(hesk) + "\n"), ""},
        {"a hundred thousand of nobody held", holding(flood), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto running = game.Engine().GetGame();
        std::string bonus = "kept";
        const auto caught = QuillmereTest::CatchDrav(
            [&] { game.Engine().LoadGame(dir.WriteFile("edited.drav", row.save), kExpected, bonus); });
        if (row.refused.empty()) {
            ASSERT_FALSE(caught) << caught->GetMessage();
            const ThingId now = game.Game().FindLoadedActor(lookout);
            EXPECT_NE(now, 0u);
            EXPECT_EQ(game.Game().GetHeldFoes(), (std::set<ThingId>{now}));
            game.Engine().SaveGame(dir / "again.drav", kExpected, nullptr);
            const std::string holding = "<holding>\n  " + std::to_string(now & kMaxThingSerial) + "\n </holding>";
            EXPECT_NE(ReadTextFile(dir / "again.drav").find(holding), std::string::npos);
        } else if (!caught) {
            ADD_FAILURE() << "loaded";
        } else {
            EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
            EXPECT_NE(caught->GetMessage().find(row.refused), std::string::npos) << caught->GetMessage();
            EXPECT_EQ(caught->GetMessage().rfind(dir / "edited.drav", 0), 0u) << caught->GetMessage();
            EXPECT_EQ(game.Engine().GetGame(), running);
            EXPECT_EQ(bonus, "kept");
        }
    }
}

namespace {

// An order as what it names: its kind, its numbers, and each thing by what it is,
// so that an order before a save and the same order after the load read alike
// though the load numbered every thing anew.
std::string Told(const CGame& game, const CActor& actor, const COrder& order) {
    const CArea& area = *game.GetCurrentArea();
    const auto thing = [&](ThingId id) -> std::string {
        if ((id >> 24) == 0) return std::to_string(id);
        if (const CActor* other = area.FindActor(id)) return other->GetName();
        if (const CObject* object = area.FindObject(id)) return object->GetTemplate().GetKey();
        if ((id >> 24) == THING_TILE) return "tile " + std::to_string(id & kMaxThingSerial);
        std::int32_t position = 0;
        if (const CItem* item = actor.FindItem(id, &position))
            return item->GetTemplate().GetKey() + " x" + std::to_string(item->GetCount()) + " carried at " +
                   std::to_string(position);
        for (const auto& object : area.GetObjects())
            for (const auto& item : object->GetItems())
                if (item->GetId() == id) return item->GetTemplate().GetKey() + " in " + object->GetTemplate().GetKey();
        for (const auto& [owner, store] : game.GetStores())
            for (const auto& item : store->GetStock())
                if (item->GetId() == id) return item->GetTemplate().GetKey() + " sold by " + owner;
        return "gone";
    };
    std::string told = std::to_string(order.GetType()) + ": " + thing(order.GetThingId()) + ", " +
                       thing(order.GetSecondThingId()) + ", " + thing(order.GetThirdThingId());
    if (const auto* move = dynamic_cast<const CMoveOrder*>(&order))
        told += " to " + std::to_string(move->x) + " " + std::to_string(move->y);
    if (const auto* cast = dynamic_cast<const CCastOrder*>(&order)) told += " " + cast->spell + " at " + thing(cast->target);
    if (const auto* talk = dynamic_cast<const CTalkOrder*>(&order)) told += " " + talk->state + " \"" + talk->line + "\"";
    if (const auto* power = dynamic_cast<const CPowerOrder*>(&order)) told += " " + power->power;
    if (const auto* trade = dynamic_cast<const CStoreOrder*>(&order))
        told += " " + std::to_string(trade->count) + " to " + std::to_string(trade->slot);
    if (const auto* walk = dynamic_cast<const CMoveTalkOrder*>(&order))
        told += " after " + std::to_string(game.GetTalksBegun() - walk->talksBegun) + " talks";
    return told;
}

// Every order of the actor, instant ones first, then her target and her attackers.
std::vector<std::string> Doing(const CGame& game, const CActor& actor) {
    std::vector<std::string> doing;
    for (const auto& order : actor.GetInstantOrders()) doing.push_back("now " + Told(game, actor, *order));
    for (const auto& order : actor.GetContinuingOrders()) doing.push_back(Told(game, actor, *order));
    if (actor.GetAttackTarget()) doing.push_back("striking " + actor.GetAttackTarget()->GetName());
    for (const CActor* attacker : actor.GetAttackers()) doing.push_back("struck by " + attacker->GetName());
    return doing;
}

}  // namespace

// A load gives back what everyone was doing: every kind of order, in either queue,
// naming what it named before under the id the load gave it, the foe each strikes,
// and the party's walk to a way out. An order whose thing is gone is left out, at
// the save or at the load; a save from before orders were kept loads with none.
TEST(EngineSave, EveryOrderComesBackNamingTheSameThingsUnderTheirNewIds) {
    auto game = StartSampleGame();
    QuillmereTest::JoinParty(game, {"reed_smuggler"}, 3, false);
    CActor& hero = *game.Main();
    const CModule& module = game.Module();
    const auto carried = [&](const char* key, std::int32_t count) {
        auto item = module.CreateItem(key, count, game.Game().NewThingId(THING_ITEM), 0);
        hero.AddToBackpack(item, false);
        return item->GetId();
    };
    const ThingId dagger = carried("dagger", 1), pies = carried("eel_pie", 3), pie = carried("eel_pie", 2),
                  tonic = carried("river_tonic", 2), flare = carried("smugglers_flare", 1);
    hero.SetEquipment(SLOT_WEAPON, module.CreateItem("quarterstaff", 1, game.Game().NewThingId(THING_ITEM), 0));
    const auto goblin = game.Spawn("reed_goblin", 9, 6);
    CActor* hesk = game.Person("ferry_keeper");
    CActor* tansy = game.Person("landing_trader");
    const CActor& member = *game.Game().GetParty().at(1);
    const CObject* basket = game.Area().FindObjectAt("float_basket", 8, 3);
    ASSERT_TRUE(goblin && hesk && tansy && basket && tansy->GetStore());
    ThingId door = 0;
    for (std::uint32_t row = 0; row < game.Area().GetRows() && !door; ++row)
        for (std::uint32_t column = 0; column < game.Area().GetColumns() && !door; ++column)
            if (game.Area().GetTile(column, row)->IsDoor()) door = game.Area().GetTile(column, row)->GetId();
    const ThingId staff = hero.GetEquipped(SLOT_WEAPON)->GetId();
    const ThingId stocked = tansy->GetStore()->GetStock().front()->GetId();
    ThingId nobody = 0, noItem = 0;
    MakeThingId(nobody, THING_ACTOR, 0xFFFF0);
    MakeThingId(noItem, THING_ITEM, 0xFFFF0);
    for (const std::shared_ptr<COrder>& order : std::vector<std::shared_ptr<COrder>>{
             std::make_shared<CWieldOrder>(dagger, SLOT_WEAPON), std::make_shared<CUnwieldOrder>(SLOT_WEAPON),
             std::make_shared<CGetOrder>(basket->GetId(), basket->GetItems().front()->GetId()),
             std::make_shared<CDropOrder>(0, pies), std::make_shared<CDropOrder>(basket->GetId(), pie),
             std::make_shared<CSplitOrder>(pies, 1), std::make_shared<CCombineOrder>(pies, pie),
             std::make_shared<CSplitOrder>(pie, 2), std::make_shared<CCombineOrder>(pie, pie),
             std::make_shared<CPositionOrder>(0),
             std::make_shared<CGiveOrder>(member.GetId(), tonic), std::make_shared<CGiveOrder>(member.GetId(), noItem),
             std::make_shared<CUseOrder>(USE_ITEM, tonic, 0),
             std::make_shared<CTalkOrder>(hesk->GetId(), "start", "Good day, Mother."),
             std::make_shared<COrder>(ORDER_LEAVE_PARTY), std::make_shared<CPositionOrder>(1),
             std::make_shared<CSpendPointsOrder>(0, kNoSkill, kNoSkill),
             std::make_shared<CPowerOrder>("s_power-steady_pole"), std::make_shared<CPowerOrder>(),
             std::make_shared<CStoreOrder>(true, tansy->GetId(), stocked, 1, kStoreToBackpack),
             std::make_shared<CStoreOrder>(false, tansy->GetId(), staff, 1, kStoreToBackpack)})
        hero.PushInstantOrder(order);
    for (const std::shared_ptr<COrder>& order : std::vector<std::shared_ptr<COrder>>{
             std::make_shared<CMoveOrder>(30.5, 12.25), std::make_shared<CAttackOrder>(goblin->GetId()),
             std::make_shared<CAttackOrder>(nobody), std::make_shared<CUseOrder>(USE_TILE, door, 0),
             std::make_shared<CUseOrder>(USE_OBJECT, basket->GetId(), 0),
             std::make_shared<CUseOrder>(USE_ITEM, tonic, goblin->GetId()),
             std::make_shared<CUseOrder>(USE_ITEM, flare, door), std::make_shared<CUseOrder>(USE_ITEM, flare, goblin->GetId()),
             std::make_shared<CCastOrder>("marsh_fever", goblin->GetId()),
             std::make_shared<CMoveTalkOrder>(hesk->GetId(), game.Game().GetTalksBegun()),
             std::make_shared<COrder>(ORDER_RETURN)})
        hero.PushOrder(order, false);
    hero.SetAttackTarget(game.Game().GetTick(), goblin.get());
    goblin->PushOrder(std::make_shared<CAttackOrder>(hero.GetId()), false);
    goblin->SetAttackTarget(game.Game().GetTick(), &hero);
    game.Game().BeginTalk(hero.GetId(), hesk->GetId());
    const CObject* wayOut = nullptr;
    for (const auto& object : game.Area().GetObjects())
        if (object->IsExit()) wayOut = object.get();
    ASSERT_TRUE(wayOut);
    game.Game().GetWayOutWalks()[wayOut->GetId()] = {wayOut->GetId(), {hero.GetId(), member.GetId()}, 0};

    std::vector<std::string> before = Doing(game.Game(), hero);
    const std::vector<std::string> goblinBefore = Doing(game.Game(), *goblin);
    // What names a thing that is gone does not come back, nor what the engine could not carry out.
    for (const std::string& gone : {"now 9: " + member.GetName() + ", gone, 0", std::string("2: gone, 0, 0"),
                                    std::string("now 7: eel_pie x2 carried at 7, 2, 0"),
                                    std::string("now 8: eel_pie x2 carried at 7, eel_pie x2 carried at 7, 0"),
                                    std::string("now 14: 0, 0, 0"),
                                    std::string("10: 5, smugglers_flare x1 carried at 7, Reed Goblin")}) {
        const auto at = std::find(before.begin(), before.end(), gone);
        ASSERT_NE(at, before.end()) << gone;
        before.erase(at);
    }
    TempDir dir;
    game.Engine().SaveGame(dir / "busy.drav", kExpected, nullptr);
    const auto engine = FreshEngine();
    std::string bonus;
    engine->LoadGame(dir / "busy.drav", kExpected, bonus);
    const CGame& loaded = *engine->GetGame();
    const CActor& heroAgain = *loaded.GetMainActor();
    EXPECT_EQ(Doing(loaded, heroAgain), before);
    ASSERT_TRUE(heroAgain.GetAttackTarget());
    EXPECT_EQ(Doing(loaded, *heroAgain.GetAttackTarget()), goblinBefore);
    ASSERT_EQ(loaded.GetWayOutWalks().size(), 1u);
    const CGame::WayOutWalk& walk = loaded.GetWayOutWalks().begin()->second;
    const CObject* wayOutAgain = loaded.GetCurrentArea()->FindObject(walk.marker);
    ASSERT_TRUE(wayOutAgain);
    EXPECT_EQ(wayOutAgain->GetExitName(), wayOut->GetExitName());
    EXPECT_EQ(walk.walkers, (std::set<ThingId>{heroAgain.GetId(), loaded.GetParty().at(1)->GetId()}));
    EXPECT_EQ(loaded.GetTalksBegun() - walk.talksBegun, 1u);

    // One way out is walked to by one walk.
    std::string old = ReadTextFile(dir / "busy.drav");
    const std::size_t from = old.find("<wayout>"), to = old.find("</wayout>") + 9;
    std::string twice = old;
    twice.insert(to, "\n" + old.substr(from, to - from));
    EXPECT_DRAV_CODE(engine->LoadGame(dir.WriteFile("twice.drav", twice), kExpected, bonus), DRAV_ERR_BAD_DATA);

    // Saved before the game kept them: nobody does anything, nobody walks.
    for (std::size_t at; (at = old.find("<orders>")) != std::string::npos;)
        old.erase(at, old.find("</orders>", at) + 9 - at);
    old.erase(old.find("<wayout>"), old.find("</wayout>") + 9 - old.find("<wayout>"));
    engine->LoadGame(dir.WriteFile("old.drav", old), kExpected, bonus);
    for (const auto& actor : engine->GetGame()->GetCurrentArea()->GetActors())
        EXPECT_EQ(Doing(*engine->GetGame(), *actor), std::vector<std::string>{}) << actor->GetName();
    EXPECT_TRUE(engine->GetGame()->GetWayOutWalks().empty());
}

namespace {

// The ticks of the hero's blows over the next `ticks` ticks of `engine`'s game:
// whatever the rolls, she strikes as her swings and her foe's come round.
std::vector<std::uint32_t> HerBlows(CEngine& engine, int ticks) {
    std::vector<std::uint32_t> blows;
    for (int i = 0; i < ticks; ++i) {
        engine.RunTick();
        std::shared_ptr<CEvent> event;
        while (engine.GetGame()->PopEvent(event))
            if (const auto* line = dynamic_cast<const CMessageEvent*>(event.get());
                line && (line->GetText().rfind("Wren hits ", 0) == 0 || line->GetText().rfind("Wren misses ", 0) == 0))
                blows.push_back(engine.GetGame()->GetTick());
    }
    return blows;
}

}  // namespace

// Saved as the hero strikes a goblin beside her and it strikes back, the fight
// goes on after the load blow for blow as it would have gone on without it: she
// keeps her order, her foe, and the swing she had begun.
TEST(EngineSave, AFightSavedMidwayGoesOnBlowForBlowAfterTheLoad) {
    auto game = StartSampleGame();
    // No goblin springs from the lane's reeds to hold her off her own.
    for (const auto& reeds : ObjectList(game.Area().GetObjects()))
        if (reeds->GetTemplate().GetKey() == "lane_reeds") game.Area().RemoveObject(*reeds);
    CActor& hero = *game.Main();
    hero.SetMaxHitPoints(500);
    const auto goblin = game.Spawn("reed_goblin", 8, 6);
    ASSERT_TRUE(goblin);
    goblin->SetMaxHitPoints(500);
    goblin->SetRelation(RELATION_HOSTILE);
    ASSERT_TRUE(QuillmereTest::PutNear(game.Area(), hero, goblin->GetX() - 3.0, goblin->GetY()));
    hero.PushOrder(std::make_shared<CAttackOrder>(goblin->GetId()), false);
    // Into the fight, past the first blows, and on to the middle of a swing.
    ASSERT_FALSE(HerBlows(game.Engine(), 400).empty());
    for (int i = 0; i < 300 && hero.GetActionState() != ACTION_WIND_UP; ++i) game.Tick();
    ASSERT_EQ(hero.GetActionState(), ACTION_WIND_UP);
    game.Tick(20);
    TempDir dir;
    game.Engine().SaveGame(dir / "fight.drav", kExpected, nullptr);
    game.DrainEvents();

    const std::vector<std::uint32_t> unsaved = HerBlows(game.Engine(), 600);
    const auto engine = FreshEngine();
    std::string bonus;
    engine->LoadGame(dir / "fight.drav", kExpected, bonus);
    EXPECT_EQ(HerBlows(*engine, 600), unsaved);
    EXPECT_GE(unsaved.size(), 3u);
}
