// Loading the sample chapter as a whole, from the folder tree and from the
// archive, and what a missing or broken file does to the load.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/brain/brain_functions.h"
#include "common/data_file_path.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules_test_util.h"
#include "support/error_code.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;
using RulesTest::ExpectThrowsCode;
using RulesTest::SampleCopy;

namespace {

const CModuleVersionRange kExpected("Orvex", 5, 0);

template <typename Map>
std::vector<std::string> KeysOf(const Map& map) {
    std::vector<std::string> keys;
    for (const auto& entry : map) keys.push_back(entry.first);
    return keys;
}


}  // namespace

TEST(ModuleLoad, SampleLoadsTheSameFromFolderAndArchive) {
    CModule fromFolder;
    fromFolder.SetBrainFunctions(DRAV::GetBrainFunctions());
    fromFolder.Load(1, &kExpected, QuillmereTest::SampleFolderSource());
    CModule fromArchive;
    fromArchive.SetBrainFunctions(DRAV::GetBrainFunctions());
    fromArchive.Load(1, &kExpected, QuillmereTest::SampleArchiveSource());

    EXPECT_EQ(KeysOf(fromFolder.GetTileTemplates()), KeysOf(fromArchive.GetTileTemplates()));
    EXPECT_EQ(KeysOf(fromFolder.GetObjectTemplates()), KeysOf(fromArchive.GetObjectTemplates()));
    EXPECT_EQ(KeysOf(fromFolder.GetQuests()), KeysOf(fromArchive.GetQuests()));
    EXPECT_EQ(KeysOf(fromFolder.GetJournalTexts()), KeysOf(fromArchive.GetJournalTexts()));
    EXPECT_EQ(KeysOf(fromFolder.GetFactions()), KeysOf(fromArchive.GetFactions()));
    EXPECT_EQ(KeysOf(fromFolder.GetSpells()), KeysOf(fromArchive.GetSpells()));
    EXPECT_EQ(KeysOf(fromFolder.GetItemTemplates()), KeysOf(fromArchive.GetItemTemplates()));
    EXPECT_EQ(KeysOf(fromFolder.GetMonsterTemplates()), KeysOf(fromArchive.GetMonsterTemplates()));
    EXPECT_FALSE(fromFolder.GetMonsterTemplates().empty());
}

TEST(ModuleLoad, SampleHoldsWhatTheAreasRelyOn) {
    auto source = QuillmereTest::SampleFolderSource();
    CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    module.Load(1, &kExpected, source);
    EXPECT_EQ(module.GetChapter(), 1);
    EXPECT_EQ(module.GetVersion(), 5);
    EXPECT_EQ(module.GetPackage(), source);
    EXPECT_EQ(module.GetStartArea(), "reedwater_landing");
    EXPECT_EQ(module.GetStartEntry(), "dock");
    EXPECT_EQ(module.GetStartYear(), 1012u);

    // Both world files contribute, and the areas place exits and piles by key.
    for (const char* key : {"exit", "pile", "tackle_chest", "landing_sign", "heron_statue"})
        EXPECT_NE(module.FindObjectTemplate(key), nullptr) << key;
    for (const char* key : {"plank_floor", "boathouse_door", "ferry_deck#1#1", "boathouse_loft#0#1"})
        EXPECT_NE(module.FindTileTemplate(key), nullptr) << key;

    const CTileTemplate* sluice = module.FindTileTemplate("sluice_gate");
    ASSERT_NE(sluice, nullptr);
    EXPECT_TRUE(sluice->HasFlag(TILE_FLAG_OPEN));
    EXPECT_TRUE(sluice->HasFlag(TILE_FLAG_RESET));
    EXPECT_NE(module.FindTileTemplate("warden_gate")->GetScript(), nullptr);
    EXPECT_EQ(module.FindObjectTemplate("smugglers_crate")->GetTrap()->GetSpellKey(), "reed_lash");
    EXPECT_EQ(module.FindObjectTemplate("heron_statue")->GetTalkStates().size(), 7u);
    EXPECT_EQ(module.FindObjectTemplate("landing_sign")->GetSignText().substr(0, 17), "Reedwater Landing");
    EXPECT_FALSE(module.GetQuests().empty());
    EXPECT_FALSE(module.GetJournalTexts().empty());
    EXPECT_NE(FindFaction(module.GetFactions(), "ferrymen"), nullptr);

    // Magic comes from both magic files: multispell instances replace their body,
    // which is no spell of its own, and the sneak power is always there.
    for (const char* key : {"ferry_blessing", "still_water", "s_power-rally1", "s_power-rally3", "s_power-sneak"})
        EXPECT_NE(FindSpell(module.GetSpells(), key), nullptr) << key;
    EXPECT_EQ(FindSpell(module.GetSpells(), "s_power-rally"), nullptr);

    // Items from both item files, and the potions, scrolls and wands the spells yield.
    for (const char* key : {"gold", "reed_lantern", "ferry_token", "i_potion-ferry_blessing", "i_wand-ferry_blessing",
                            "i_scroll-ferry_blessing"})
        EXPECT_NE(FindItemTemplate(module.GetItemTemplates(), key), nullptr) << key;
}

TEST(ModuleLoad, WrongModuleRecordFailsTheLoad) {
    CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    const CModuleVersionRange newer("Orvex", 6, 0);
    EXPECT_EQ(ErrorCodeOf([&] { module.Load(1, &newer, QuillmereTest::SampleFolderSource()); }), 9);
    CModule other;
    other.SetBrainFunctions(DRAV::GetBrainFunctions());
    const CModuleVersionRange stranger("Marrow", 5, 0);
    EXPECT_EQ(ErrorCodeOf([&] { other.Load(1, &stranger, QuillmereTest::SampleFolderSource()); }), 1);
}

TEST(ModuleLoad, MissingFilesAreNamed) {
    for (const std::string file : {"1/magic.drav", "global_magic.drav", "1/items.drav", "global_items.drav", "1/quests.drav", "1/journal.drav", "global_world.drav", "global_factions.drav",
                                   "global_monsters.drav", "1/monsters.drav"}) {
        SampleCopy copy;
        copy.Remove(file);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        const std::string name = std::filesystem::path(file).filename().string();
        ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1, name);
    }
}

TEST(ModuleLoad, AGlobalStartupOrRepeatedKeyFailsTheLoad) {
    SampleCopy copy;
    copy.Write("global_world.drav",
               "<world> <startup> a b 1 2 3 <male> </male> <female> </female> </startup>"
               " <tiles> </tiles> <objectdefs> </objectdefs> </world>");
    CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1, "global_world.drav");

    copy.Write("global_world.drav",
               "<world> <tiles> </tiles> <objectdefs> "
               "<object> tackle_chest \"Chest\" g solid 1 1 1 </object> </objectdefs> </world>");
    CModule again;
    again.SetBrainFunctions(DRAV::GetBrainFunctions());
    ExpectThrowsCode([&] { again.Load(1, &kExpected, copy.Source()); }, 1, "\"tackle_chest\"");
}

TEST(ModuleLoad, ChapterMonstersOverrideGlobalOnesAndLaterOnesEarlierOnes) {
    SampleCopy copy;
    // A base needs nothing of its own; what is made into actors must be complete.
    copy.Write("global_monsters.drav",
               "<monsters> <monster2> wader <graphic> m_wisp </graphic> <type> none fey 0.5 1 </type>"
               " <level> 1 monster 0 </level> <stats> 6 10 10 10 10 10 </stats>"
               " <brain> neutral false 0 <tags> </tags> <tags> </tags> <ai> stand </ai> <ai> charge </ai> </brain>"
               " </monster2>"
               " <monster2> heron <inherit> wader </inherit> <name> \"Grey Heron\" \"\" 0 0 </name> </monster2>"
               " <monster2> heron <inherit> wader </inherit> <name> \"Blue Heron\" \"\" 0 0 </name> </monster2>"
               " </monsters>");
    copy.Write("1/monsters.drav", "<monsters> </monsters>");
    CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    module.Load(1, &kExpected, copy.Source());
    ASSERT_NE(module.FindMonsterTemplate("heron"), nullptr);
    EXPECT_EQ(module.FindMonsterTemplate("heron")->GetName(), "Blue Heron");

    copy.Write("1/monsters.drav", "<monsters> <monster2> heron <inherit> wader </inherit>"
                                  " <name> \"Reed Heron\" \"\" 0 0 </name> </monster2> </monsters>");
    CModule chapter;
    chapter.SetBrainFunctions(DRAV::GetBrainFunctions());
    chapter.Load(1, &kExpected, copy.Source());
    EXPECT_EQ(chapter.FindMonsterTemplate("heron")->GetName(), "Reed Heron");

    // Only monster definitions stand in a monsters file.
    copy.Write("1/monsters.drav", "<monsters> <monster> heron </monster> </monsters>");
    CModule wrong;
    wrong.SetBrainFunctions(DRAV::GetBrainFunctions());
    ExpectThrowsCode([&] { wrong.Load(1, &kExpected, copy.Source()); }, 1, "monsters.drav");
}

TEST(ModuleLoad, AMonsterThatCannotBeMadeFailsTheLoadNamingItsFileAndKey) {
    struct Case {
        const char* from;
        const char* to;
        const char* key;
        const char* named;
    };
    // Found at load, not at a spawn or an area load long after.
    const Case cases[] = {
        {"<size> 1.1 1.7 </size>", "", "landing_trader", "no size"},
        {"<size> 1.1 1.7 </size>", "<size> 1e308 1.7 </size>", "landing_trader", "radius"},
        {"<name> \"Marra the Reed Witch\" \"A hedge witch of the marsh who doses the ferrymen against fever, and "
         "knows how to give it too.\" ( 110 150 90 ) 0 </name>",
         "", "reed_witch", "no name"},
        {"<graphic> m_spirit </graphic>", "", "marsh_spirit", "no graphic"},
        {"( smugglers_flare 1 ) boarding_axe", "( smugglers_flare 1 ) boarding_oar", "smuggler_captain",
         "\"boarding_oar\""},
        {"reed_lantern ( gold 40 )", "reed_lamp ( gold 40 )", "landing_trader", "\"reed_lamp\""},
        {"( gold 8 ) river_tonic", "( gold 8 ) river_tonik", "goblin_archer", "\"river_tonik\""},
    };
    for (const Case& c : cases) {
        SampleCopy copy;
        copy.Edit("1/monsters.drav", c.from, c.to);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        const auto caught = QuillmereTest::CatchDrav([&] { module.Load(1, &kExpected, copy.Source()); });
        ASSERT_TRUE(caught) << c.to;
        EXPECT_EQ(caught->GetCode(), 1) << caught->GetMessage();
        for (const std::string& named : {std::string("monsters.drav"), "\"" + std::string(c.key) + "\"",
                                        std::string(c.named)})
            EXPECT_NE(caught->GetMessage().find(named), std::string::npos) << caught->GetMessage();
    }
}

TEST(ModuleLoad, AMultitileLargerThanAnyAreaIsRefused) {
    for (const char* pieces : {"( 2 4294967295 )", "( 2147483647 2 )", "( 1001 1 )"}) {
        SampleCopy copy;
        copy.Edit("1/world.drav", "boathouse_loft ( 2 2 )", std::string("boathouse_loft ") + pieces);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1, "world.drav: multitile \"boathouse_loft\"");
    }
}

// Numbers the rules loop or multiply on are held to a range where the file is read:
// a speed is a pass of every attack per 10 points, a tile's size 1 to 1000 cells of a
// grid each way, a radius below 0 no size at all, an item count no more than a saved
// game reads back. Each is refused naming its own file,
// not the definition or area that first meets it; the ends of each range load.
TEST(ModuleLoad, NumbersPastTheirRangeAreRefusedNamingTheirFile) {
    struct Case {
        const char* file;
        const char* from;
        const char* to;
        const char* named;  // empty: the edit loads
    };
    const Case cases[] = {
        {"1/monsters.drav", "( 10 20 )", "( 2147483647 20 )", "monsters.drav: expected an action speed from -1000 to 1000"},
        {"1/monsters.drav", "( 10 20 )", "( 10 1001 )", "monsters.drav: expected a movement speed from -1000 to 1000"},
        {"1/monsters.drav", "( 10 20 )", "( -1001 20 )", "monsters.drav: expected an action speed"},
        {"1/monsters.drav", "( 10 20 )", "( 1000 -1000 )", ""},
        {"global_monsters.drav", "<size> 1.2 1.8 </size>", "<size> -1 1.8 </size>",
         "global_monsters.drav: expected a radius from 0 to 12.5"},
        {"global_monsters.drav", "<size> 1.2 1.8 </size>", "<size> 71.2 1.8 </size>",
         "global_monsters.drav: expected a radius from 0 to 12.5 at \"71.2\""},
        {"global_monsters.drav", "<size> 1.2 1.8 </size>", "<size> 1.2 1e308 </size>",
         "global_monsters.drav: expected a height from 0 to 12.5"},
        {"global_monsters.drav", "<size> 1.2 1.8 </size>", "<size> 12.5 12.5 </size>", ""},
        {"1/world.drav", "rack_nets ( 3 2 ) block", "rack_nets ( 1000000000 2 ) block",
         "world.drav: expected a width in cells from 1 to 1000"},
        {"1/world.drav", "rack_nets ( 3 2 ) block", "rack_nets ( 0 2 ) block", "world.drav: expected a width in cells"},
        {"1/world.drav", "rack_nets ( 3 2 ) block", "rack_nets ( 3 1001 ) block", "world.drav: expected a depth in cells"},
        {"1/world.drav", "rack_nets ( 3 2 ) block", "rack_nets ( 1000 1000 ) block", ""},
        {"global_world.drav", "deck_ferry ( 1 1 ) floor", "deck_ferry ( 2147483647 1 ) floor",
         "global_world.drav: multitile \"ferry_deck\" has pieces of 2147483647 x 1 cells"},
        {"global_world.drav", "ferry_deck ( 2 2 )", "ferry_deck ( 0 2 )",
         "global_world.drav: multitile \"ferry_deck\" has 0 x 2 pieces"},
        {"1/monsters.drav", "( gold 8 ) river_tonic", "( gold 2147483648 ) river_tonic",
         "monsters.drav: expected an item count from 0 to 2147483647 at \"2147483648\""},
        {"1/monsters.drav", "<auto> 1 ( 20 60 ) weapon", "<auto> ( 50 4294967295 ) ( 20 60 ) weapon",
         "monsters.drav: expected an item count from 0 to 2147483647 at \"4294967295\""},
        {"1/monsters.drav", "<treasure> 60 </treasure>", "<treasure> 2147483648 </treasure>",
         "monsters.drav: expected a treasure value from 0 to 2147483647"},
        {"global_monsters.drav", "<item> ferrymans_pole 1 </item>", "<item> ferrymans_pole 4294967295 </item>",
         "global_monsters.drav: expected an item count"},
        {"1/monsters.drav", "( eel_pie 8 )", "( eel_pie 2147483647 )", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        SampleCopy copy;
        copy.Edit(c.file, c.from, c.to);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        if (*c.named) ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1, c.named);
        else module.Load(1, &kExpected, copy.Source());
    }
}

TEST(ModuleLoad, AnElementLeftOpenNamesTheFileAndTheElement) {
    struct Case {
        const char* file;
        const char* from;
        const char* to;
        const char* named;
    };
    // A talk state's script without its closing tag, a visual's parameters without
    // theirs (which once swallowed the spells after them), and words after the file's element.
    for (const Case& edit : {Case{"1/world.drav", "again.\", \"riddle\" )\n     </lua>", "again.\", \"riddle\" )",
                                  "world.drav: expected a word at \"</state>\" while <lua> is open"},
                             Case{"global_magic.drav", "0.8 blue ripple </params>", "0.8 blue ripple",
                                  "global_magic.drav: expected a word at \"<tier>\" while <params> is open"},
                             Case{"1/quests.drav", "</quests>", "</quests> </quest>",
                                  "quests.drav: data after the file's element"}}) {
        SampleCopy copy;
        copy.Edit(edit.file, edit.from, edit.to);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1, edit.named);
    }
}

TEST(ModuleLoad, SpellErrorsFoundAfterTheSpellIsReadNameItsFile) {
    const std::string chapterMagic = DRAVCommon::DescribeDataFile(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "magic.drav");
    const std::string globalMagic = DRAVCommon::DescribeDataFile(DRAVCommon::DFK_GLOBAL, DRAVCommon::DFS_NONE, "global_magic.drav");
    SampleCopy copy;
    copy.Edit("1/magic.drav", "ongoing 3rounds fever_chill", "ongoing 3rounds fever_chil");
    CModule module;
    module.SetBrainFunctions(DRAV::GetBrainFunctions());
    ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, 1,
                     chapterMagic + ": spell \"marsh_fever\" carries the unknown spell \"fever_chil\"");

    SampleCopy multispell;
    multispell.Edit("global_magic.drav", "<effect> resist 1hour charm 5 </effect>",
                    "<effect> resist 1hour charm 5 </effect> <effect> ongoing 1round fever_chill </effect>");
    CModule other;
    other.SetBrainFunctions(DRAV::GetBrainFunctions());
    ExpectThrowsCode([&] { other.Load(1, &kExpected, multispell.Source()); }, 1,
                     globalMagic + ": multispell s_power-rally: an instance takes only modify and resist effects");
}

// A word the rules do not know and an object the game needs are the module's
// faults: each load fails naming the file that holds (or should hold) it, before
// any game is played.
TEST(ModuleLoad, AnUnknownSpecialStatOrAMissingPileNamesTheFile) {
    const struct {
        const char* file;
        const char* from;
        const char* to;
        std::int32_t code;
        const char* named;
    } edits[] = {
        {"1/world.drav", "( observation 12 )", "( luck 12 )", 2, "world.drav: No Special Stat: luck"},
        {"global_world.drav", "<object> pile \"Pile\"", "<object> heap \"Pile\"", 1,
         "global_world.drav: no object \"pile\" is defined for dropped items"},
    };
    for (const auto& edit : edits) {
        SampleCopy copy;
        copy.Edit(edit.file, edit.from, edit.to);
        CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        ExpectThrowsCode([&] { module.Load(1, &kExpected, copy.Source()); }, edit.code, edit.named);
    }
}
