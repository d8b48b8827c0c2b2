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
using QuillmereTest::FreshSampleEngine;
using QuillmereTest::kSampleVersion;
using QuillmereTest::ReadTextFile;
using QuillmereTest::StartSampleGame;
using QuillmereTest::TempDir;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Where every actor of every area stands and is headed, in numbers exactly as held.
std::vector<std::string> Places(const CGame& game) {
    std::vector<std::string> places;
    for (const auto& [name, area] : game.GetAreas())
        for (const auto& actor : area->GetActors()) {
            std::ostringstream place;
            place << std::hexfloat << name << " " << actor->GetName() << " " << actor->GetX() << " " << actor->GetY();
            for (const auto& order : actor->GetContinuingOrders())
                if (const auto* move = dynamic_cast<const CMoveOrder*>(order.get())) place << " to " << move->x << " " << move->y;
            places.push_back(place.str());
        }
    return places;
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
    // In motion: the marsh's folk wander off their cells.
    game.Tick(300);
    TempDir dir;
    const std::string quick = "slot 1 = fireball";
    for (std::int32_t page : {0, 5, 21}) game.Game().MarkTutorialShown(page);
    game.Engine().SaveGame(dir / "one.drav", kSampleVersion, &quick);

    auto engine = FreshSampleEngine();
    std::string bonus = "untouched";
    engine->LoadGame(dir / "one.drav", kSampleVersion, bonus);
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
    EXPECT_EQ(Places(loaded), Places(game.Game())) << "every place and target comes back as it was";
    // And each loaded actor stands in its area's way where it was put.
    const auto probe = std::make_shared<CActor>(0x03FFFFFF);
    probe->SetRadius(0.01);
    for (const auto& [name, area] : loaded.GetAreas())
        for (const auto& actor : area->GetActors())
            EXPECT_FALSE(area->TestActors(*probe, nullptr, actor->GetX(), actor->GetY())) << name << " " << actor->GetName();

    // A load numbers every thing anew: saved, loaded and saved again, only the path differs.
    engine->SaveGame(dir / "two.drav", kSampleVersion, &quick);
    engine = FreshSampleEngine();
    engine->LoadGame(dir / "two.drav", kSampleVersion, bonus);
    engine->SaveGame(dir / "three.drav", kSampleVersion, &quick);
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
    game.Engine().SaveGame(dir / "good.drav", kSampleVersion, nullptr);
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
        EXPECT_DRAV_CODE(game.Engine().LoadGame(path, kSampleVersion, bonus), c.code);
    }
    EXPECT_DRAV_CODE(game.Engine().LoadGame(Edited(dir, text, "(1\n", "(2\n", "bad.drav"), kSampleVersion, bonus),
                     DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(game.Engine().LoadGame(Edited(dir, text, "(1\n false)\n", "0\n", "bad.drav"), kSampleVersion, bonus),
                     DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(
        game.Engine().LoadGame(Edited(dir, text, "\"reedwater_landing\"\n", "\"reed_marsh\"\n", "bad.drav"),
                               kSampleVersion, bonus),
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
    game.Engine().LoadGame(dir.WriteFile("old.drav", old), kSampleVersion, bonus);
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
    game.Engine().SaveGame(dir / "points.drav", kSampleVersion, nullptr);

    auto engine = FreshSampleEngine();
    std::string bonus;
    engine->LoadGame(dir / "points.drav", kSampleVersion, bonus);
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
    game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr);
    const std::string before = ReadTextFile(dir / "game.drav");
    game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
    game.Game().SetStateCode(GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();  // the party now travels with the game, outside any area
    ASSERT_EQ(game.Game().GetCurrentArea(), nullptr);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr)),
              "the party is between areas");
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_TRUE(ReadTextFile(dir / "game.drav") == before) << "the save before is written over";
    EXPECT_FALSE(std::filesystem::exists(dir / "game.drav.part"));
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "other.drav", kSampleVersion, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_FALSE(std::filesystem::exists(dir / "other.drav"));

    auto engine = FreshSampleEngine();
    std::string bonus = "kept";
    engine->LoadGame(dir / "game.drav", kSampleVersion, bonus);
    const auto running = engine->GetGame();
    std::string area;
    const std::string nowhere = dir.WriteFile("nowhere.drav", QuillmereTest::WithoutCurrentArea(before, area));
    ASSERT_EQ(area, "reedwater_landing");
    const auto caught = QuillmereTest::CatchDrav([&] { engine->LoadGame(nowhere, kSampleVersion, bonus); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(caught->GetMessage(), nowhere + ": the saved game has no current area");
    EXPECT_EQ(engine->GetGame(), running);
    EXPECT_EQ(bonus, "kept");
}

TEST(EngineSave, AFailedSaveLeavesThePreviousFileWhole) {
    auto game = StartSampleGame();
    TempDir dir;
    game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr);
    const std::string before = ReadTextFile(dir / "game.drav");
    // A tag no saved game can hold stops the writer halfway through the tree.
    game.Game().GetQuestTags()["two words"] = 1;
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ReadTextFile(dir / "game.drav"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "game.drav.part"));
    EXPECT_DRAV_CODE(game.Engine().SaveGame(dir / "missing/game.drav", kSampleVersion, nullptr), DRAV_ERR_BAD_DATA);
    // A game that has used up its serials saves, and the save loads, numbering every
    // thing anew. One that holds more than a load takes back is refused before anything
    // is written.
    game.Game().GetQuestTags().erase("two words");
    const auto goblin = game.Spawn("reed_goblin", 8, 6);
    game.Game().SetThingSerialCounter(kMaxThingSerial + 1);
    game.Engine().SaveGame(dir / "spent.drav", kSampleVersion, nullptr);
    std::string bonus;
    FreshSampleEngine()->LoadGame(dir / "spent.drav", kSampleVersion, bonus);
    for (std::size_t i = 0; i <= kSavedItemListLimit; ++i)
        goblin->AddToBackpack(game.Engine().GetModule()->CreateItem("dagger", 1, 0, 0), false);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr)),
              "a list of more than the 4096 items a save keeps together: the game cannot be saved");
    EXPECT_EQ(ReadTextFile(dir / "game.drav"), before);
    game.Area().RemoveActor(*goblin);
    CStore& store = *game.Game().GetStores().at("landing_trader");
    const std::size_t stocked = store.GetStock().size();
    while (store.GetStock().size() <= kSavedItemListLimit)
        store.AddItem(game.Engine().GetModule()->CreateItem("eel_pie", 1, 0, 0));
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr)),
              "a list of more than the 4096 items a save keeps together: the game cannot be saved");
    while (store.GetStock().size() > stocked) store.RemoveItem(*store.GetStock().back());
    // A long game whose last actor took one of the last serials: its load numbers the
    // goblin low again, and the loaded game has its serials back.
    game.Game().SetThingSerialCounter(kMaxThingSerial - 20);
    ASSERT_NE(game.Spawn("reed_goblin", 8, 6), nullptr);
    game.Engine().SaveGame(dir / "long.drav", kSampleVersion, nullptr);
    const auto loaded = FreshSampleEngine();
    loaded->LoadGame(dir / "long.drav", kSampleVersion, bonus);
    EXPECT_LT(loaded->GetGame()->GetThingSerialCounter(), 1000u);
    EXPECT_LT(loaded->GetGame()->GetCurrentArea()->GetActors().back()->GetId() & kMaxThingSerial, 1000u);
    // Nor is a game whose hero's name or quick actions no load would take back.
    game.Main()->SetName("");
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr)),
              "the main character's name is empty");
    game.Main()->SetName("Wren");
    const std::string quick(kSavedAppLineLimit + 1, 'q');
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, &quick)),
              "the quick actions of 8193 bytes are longer than the 8192 a save keeps");
    game.Game().SetTick(kLastSavedTick + 1);
    EXPECT_EQ(DRAV_MESSAGE(game.Engine().SaveGame(dir / "game.drav", kSampleVersion, nullptr)),
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
    game.Engine().SaveGame(dir / "beat.drav", kSampleVersion, nullptr);

    // Play on for a long while, then load into the same engine.
    game.Game().SetTick(3000000);
    game.Tick();
    EXPECT_GT(game.Game().GetNextHeartbeatTick(), 3000000u);
    std::string quick;
    game.Engine().LoadGame(dir / "beat.drav", kSampleVersion, quick);
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
    const auto caught = QuillmereTest::CatchDrav([&] { game.Engine().SaveGame("bare.drav", kSampleVersion, nullptr); });
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
    game.Engine().SaveGame(dir / "most.drav", kSampleVersion, nullptr);
    CEngine loaded;
    loaded.LoadModule(1, kSampleVersion, source);
    std::string bonus;
    loaded.LoadGame(dir / "most.drav", kSampleVersion, bonus);
    EXPECT_EQ(stacks(*loaded.GetGame()), before);
}
