// Saved games edited by hand: a load takes only what play could have written,
// refusing the rest with words that name the file, and leaves the running game alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>

#include "support/expect_drav.h"
#include "support/message_texts.h"
#include "support/sample_save.h"
#include "support/save_text.h"
#include "support/temp_dir.h"
#include "rules/monsters/actor_names.h"
#include "script/script_limits.h"
#include "world/cell.h"
#include "world/object.h"
#include "world/order_rule.h"
#include "world/save_head.h"
#include "world/tile.h"

using namespace DRAV;
using QuillmereTest::FreshSampleEngine;
using QuillmereTest::kSampleVersion;
using QuillmereTest::ReadTextFile;
using QuillmereTest::StartSampleGame;
using QuillmereTest::TempDir;

// Edits of a real save, taken while the smugglers' lookout holds back as after a
// wake. A serial counter at or below a saved serial would hand a new thing one in
// use; held foes that are no foe of the area are let go.
TEST(EngineSave, ASaveHoldsOnlyWhatTheGameCouldHaveWritten) {
    auto game = StartSampleGame();
    game.Engine().SetTag("hide_fought", true);
    ThingId lookout = 0;
    std::uint32_t hesk = 0, tansySerial = 0;
    std::uint32_t highest = 0;
    for (const auto& actor : game.Area().GetActors()) {
        const std::uint32_t serial = actor->GetId() & kMaxThingSerial;
        highest = std::max(highest, serial);
        if (actor->GetTemplateName() == "smuggler_lookout") lookout = actor->GetId();
        if (actor->GetTemplateName() == "ferry_keeper") hesk = serial;
        if (actor->GetTemplateName() == "landing_trader") tansySerial = serial;
    }
    ASSERT_NE(lookout, 0u);
    ASSERT_NE(hesk, 0u);
    CActor& wren = *game.Main();
    const CActor& tansyActor = *game.Person("landing_trader");
    const CActor& heskPerson = *game.Person("ferry_keeper");
    // Out of talking reach of Hesk and within trading reach of Tansy, with two
    // tonics to sell and nothing else in her pack.
    ASSERT_GT(wren.DistanceTo(heskPerson), wren.GetRadius() + kTalkOrderReach + heskPerson.GetRadius());
    ASSERT_LT(wren.DistanceTo(tansyActor), wren.GetRadius() + kStoreReach + tansyActor.GetRadius());
    // A free spot out of Tansy's reach.
    double awayX = 0.0, awayY = 0.0;
    for (std::uint32_t cell = 0; cell < game.Area().GetColumns() * game.Area().GetRows() && awayX == 0.0; ++cell) {
        const double x = (cell % game.Area().GetColumns() + 0.5) * kCellSize;
        const double y = (cell / game.Area().GetColumns() + 0.5) * kCellSize;
        if (std::hypot(x - tansyActor.GetX(), y - tansyActor.GetY()) > kStoreReach + 5.0 &&
            game.Area().CanMoveTo(wren, nullptr, x, y))
            awayX = x, awayY = y;
    }
    ASSERT_NE(awayX, 0.0);
    ASSERT_TRUE(wren.GetBackpackItems().empty());
    wren.AddToBackpack(game.Module().CreateItem("river_tonic", 2, game.Game().NewThingId(THING_ITEM), 0), false);
    const ItemPtrList& wares = tansyActor.GetStore()->GetStock();
    const auto knives = std::find_if(wares.begin(), wares.end(),
                                     [](const auto& item) { return item->GetTemplate().GetKey() == "smugglers_knife"; });
    ASSERT_NE(knives, wares.end());
    const std::string knife = "<stock> " + std::to_string(knives - wares.begin()) + " smugglers_knife </stock>";
    const std::string knifeCount = std::to_string((*knives)->GetCount());
    game.Game().HoldBack(lookout);
    TempDir dir;
    game.Engine().SaveGame(dir / "held.drav", kSampleVersion, nullptr);
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
    // The same of the block of the actor of serial `serial`.
    const auto actorLine = [&](std::uint32_t serial, int index, const std::string& value) {
        const std::string block = "<actor>\n    " + std::to_string(serial) + "\n";
        std::size_t at = text.find(block) + block.size();
        while (index-- > 0) at = text.find('\n', at) + 1;
        return text.substr(0, at) + value + text.substr(text.find('\n', at));
    };
    const std::string hero = "<actor>\n    " + std::to_string(game.Main()->GetId() & kMaxThingSerial) + "\n";
    const auto heroLine = [&](int index, const std::string& value) {
        return actorLine(game.Main()->GetId() & kMaxThingSerial, index, value);
    };
    const std::uint32_t tobin = game.Person("dock_ferryman")->GetId() & kMaxThingSerial;
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
    const auto placed = [&](const std::string& place) {
        return edited("<people>\n", "<people>\n<entry> hollis \"Hollis\" " + place + " </entry>\n");
    };
    const auto personCalled = [&](const std::string& name) {
        return edited("<people>\n", "<people>\n<entry> hollis " + name + " \"The Landing\" </entry>\n");
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
    const auto words = [](std::size_t size) { std::string text; while (text.size() < size) text += "wanderer "; return text; };
    const std::string heldEnd = "</holding>\n";
    const std::string pile = "<stack> pile 10 10 (eel_pie 1 0) </stack>\n";
    const std::uint32_t counter = game.Game().GetThingSerialCounter();
    std::string flood;
    for (std::uint32_t i = 0; i < 100000; ++i) flood += "  " + std::to_string(counter + i) + "\n";
    // `instant` and `continuing` orders given to the actor of serial `serial` in `base`.
    const auto orders = [&](std::uint32_t serial, const std::string& instant, const std::string& continuing = "",
                            const std::string& base = "") {
        std::string edited = base.empty() ? text : base;
        const std::size_t spells = edited.find("</spells>\n", edited.find("<actor>\n    " + std::to_string(serial) + "\n"));
        return edited.insert(spells + 10, "<orders>\n<instant>\n" + instant + "\n</instant>\n" + continuing + "\n</orders>\n");
    };
    const std::uint32_t heroSerial = wren.GetId() & kMaxThingSerial;
    const std::string tansyIs = "<actor> " + std::to_string(tansySerial) + " </actor> ";
    const auto trade = [&](bool buy, const std::string& item, const std::string& count) {
        return std::string("<store> ") + (buy ? "true " : "false ") + tansyIs + item + " " + count + " 7 </store>";
    };
    const std::string tonic = "<pack> 0 river_tonic </pack>";
    // The hero under a lasting harm cast by `caster`.
    const auto harmed = [&](const std::string& caster) {
        return std::string(text).insert(text.find("<spellapplylist>", text.find(hero)) + 16,
                                        " <spellapply> \"Marsh Fever\" poison 25 4 false false <effectlist> </effectlist>"
                                        " <caster> " + caster + " </caster> </spellapply>");
    };
    // The hero under a lasting harm of its own name `name`.
    const auto harmCalled = [&](const std::string& name) {
        return std::string(text).insert(text.find("<spellapplylist>", text.find(hero)) + 16,
                                        " <spellapply> " + name + " poison 25 4 false false <effectlist> </effectlist>"
                                        " </spellapply>");
    };
    // Just past the map's east edge, to the millionth.
    std::string eastPast = std::to_string(game.Area().GetColumns() * kCellSize);
    eastPast.back() = '1';
    std::string away = heroLine(0, std::to_string(awayX));
    const std::size_t awayAt = away.find('\n', away.find(hero) + hero.size()) + 1;
    away.replace(awayAt, away.find('\n', awayAt) - awayAt, std::to_string(awayY));
    // The save's effects in flight made `records`, after the next effect's serial 9.
    const std::string flightOpen = text.substr(text.find("<flight>"));
    const auto flight = [&](const std::string& records) {
        return edited(flightOpen.substr(0, flightOpen.find("</flight>")), "<flight> 9 " + records + " ");
    };
    // Spells and arrows in flight at Mother Hesk from where Wren stands.
    const std::string at = "<actor> " + std::to_string(hesk) + " </actor> ";
    const std::string from = std::to_string(wren.GetX()) + " " + std::to_string(wren.GetY()) + " ";
    const auto spell = [&](const std::string& target, const std::string& where, const std::string& numbers,
                           const std::string& source = "\"Wren\"", const std::string& key = "still_the_spirit",
                           const std::string& serial = "7") {
        return "<spell> " + serial + " " + target + where + numbers + " false " + source + " true " + key +
               " <actor> " + std::to_string(heroSerial) + " </actor> true \"\" ";
    };
    const auto spellOf = [&](const std::string& tail) { return spell(at, from, "0 75 0") + tail + " </spell> "; };
    const std::string plainTail = "1 20 0 0 0";
    const auto arrow = [&](const std::string& target, const std::string& attack) {
        return "<missile> 8 " + target + from + "4 75 0 false \"Goblin Archer\" false arrow <attackinfo> " + attack +
               " </attackinfo> 0 </missile> ";
    };
    const std::string bow = "\"Goblin Archer (Reed bow)\" 10 8 0 0 0 sharp 0 0";
    // The save as one written before the random source was kept.
    const std::string withoutRandom =
        std::string(text).erase(text.find("<random>"), text.find("</random>") + 9 - text.find("<random>"));
    struct Row {
        const char* what;
        std::string save;
        std::string refused;  // the value the refusal names; empty when the save loads
        std::string told = {};  // the line the first tick after the load gives, if any
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
        {"a tag the writer refuses", edited("(hide_fought", "(#hide_fought"),
         "a word starting with \"#\" would read back as a comment"},
        {"a name with a double quote", edited("\"Mother Hesk\"", "\"Mother H\"esk\""), "double quote"},
        {"a radius below none", heroLine(3, "-1"), "a radius from 0 to 12.5"},
        {"a radius of none", heroLine(3, "0"), "radius of 0"},
        {"a radius past the largest", heroLine(3, "1e9"), "a radius from 0 to 12.5"},
        {"Tobin grown over the dock", actorLine(tobin, 3, "71.2"), "a radius from 0 to 12.5"},
        {"Tobin just past the largest", actorLine(tobin, 3, "12.6"), "a radius from 0 to 12.5"},
        {"the largest radius", heroLine(3, "12.5"), ""},
        {"a height past the largest", heroLine(4, "1e308"), "a height from 0 to 12.5"},
        {"the hero east of the grid", heroLine(0, "1e9"), "actor \"Wren\" at (1e+09 "},
        {"the hero north of the grid", heroLine(1, "-0.5"), "lies off the grid of area \"reedwater_landing\""},
        {"the hero just east of the grid", heroLine(0, eastPast), "actor \"Wren\" at (" + eastPast + " "},
        {"more map locations than scripts reveal", many("<revealed>", 2049, named), "more than 2048 names"},
        {"as many map locations as scripts reveal", many("<revealed>", 2048, named), ""},
        {"more tags than a save keeps", many("<questtags>", 4096, named), "more than 4096 names"},
        {"more stacks in a pack than a save keeps", many("<backpack>", 4096, [](int) { return " (dagger 1 0)"; }),
         "a list of more than 4096 items"},
        {"more actors outside areas than a party holds",
         many("<nonlocated>", 7, [&](int n) { return "\n<actor>\n    " + std::to_string(counter + n) + heskBody; }),
         "party holds"},
        {"a store no monster keeps", edited("innkeeper\n  <store>", "nobody\n  <store>"), "no monster \"nobody\""},
        {"a store kept by a word of 65,000 bytes", edited("innkeeper\n  <store>", std::string(65000, 'k') + "\n  <store>"),
         "no monster \"kkkk"},
        {"Mother Hesk of a definition of 65,000 bytes", heskLine("ferry_keeper\n", std::string(65000, 'f') + "\n"),
         "no monster definition \"ffff"},
        {"a million stacks in Tansy's store", many(tansy, 1000000, stock), "a list of more than 4096 items"},
        {"as many stacks in Tansy's store as a save keeps", many(tansy, 4096 - 9, stock), ""},
        {"a store stocked at random", edited(tansy, tansy + "<treasure> 900 </treasure>\n"), "expected <item>"},
        {"Tansy's store twice", edited(" <area>\n", tansyStore.substr(0, tansyStore.find("</actorstore>") + 14) + " <area>\n"),
         "a second store of \"landing_trader\""},
        {"the landing twice", edited(" <area>\n", emptyArea.substr(0, emptyArea.find(" </area>") + 9) + " <area>\n"),
         "a second area \"reedwater_landing\""},
        {"a tag name of a megabyte", edited("(hide_fought", "(" + std::string(1 << 20, 't')),
         "a run of more than 65536 bytes"},
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
        {"a note longer than a line grows", person("hollis", line), "a note of more than 8192 bytes"},
        {"a page of Hollis with a NUL", personCalled(std::string("\"Hol\0lis\"", 9)), "a person's name holds a NUL byte"},
        {"a page of Hollis not in UTF-8", personCalled("\"Holl\xEDs\""), "a person's name is not UTF-8"},
        {"a page of a name of 60,000 bytes", personCalled(quoted(60000, 'h')), "a person's name of more than 4096 bytes"},
        {"a harm cast by a NUL", harmed(std::string("\"Mar\0ra\"", 8)), "a caster's name holds a NUL byte"},
        {"a harm cast by no UTF-8", harmed("\"Marr\xE1\""), "a caster's name is not UTF-8"},
        {"a harm cast by 60,000 bytes", harmed(quoted(60000, 'm')), "a caster's name of more than 4096 bytes"},
        {"a page of Hollis at a place with a NUL", placed(std::string("\"The\0Landing\"", 13)),
         "a person's place holds a NUL byte"},
        {"a page of Hollis at a place not in UTF-8", placed("\"The L\xE1nding\""), "a person's place is not UTF-8"},
        {"a page of Hollis at a place of 60,000 bytes", placed(quoted(60000, 'p')),
         "a person's place of more than 8192 bytes"},
        {"a page of Hollis at a place in UTF-8", placed("\"The L\xC3\xA1nding\""), ""},
        {"a note with a NUL", person("hollis", std::string("Good\0day.", 9)), "a note holds a NUL byte"},
        {"a note not in UTF-8", person("hollis", "Good d\xE1y."), "a note is not UTF-8"},
        {"a harm named with a NUL", harmCalled(std::string("\"Marsh\0Fever\"", 13)), "a harm's name holds a NUL byte"},
        {"a harm named in no UTF-8", harmCalled("\"Marsh F\xE9ver\""), "a harm's name is not UTF-8"},
        {"a harm named in 60,000 bytes", harmCalled(quoted(60000, 'f')), "a harm's name of more than 4096 bytes"},
        {"a harm named in UTF-8", harmCalled("\"Marsh F\xC3\xA9ver\""), ""},
        {"the longest note", person("hollis", line.substr(1)), ""},
        {"an ending longer than a text grows", edited("<difficulty>", "<ending> \"" + line + "\" </ending> <difficulty>"),
         "an ending of more than 8192 bytes"},
        {"a 4 MB word as the entry area", edited("<entry>\n  reedwater_landing", "<entry>\n  " + std::string(4 << 20, 'e')),
         "a run of more than 65536 bytes"},
        {"a word of 65,535 bytes as the entry area",
         edited("<entry>\n  reedwater_landing", "<entry>\n  " + std::string(65535, 'e')),
         "a word of 65535 bytes is longer than the 65534 a word of a saved file holds"},
        {"a word of 65,536 bytes as the entry area",
         edited("<entry>\n  reedwater_landing", "<entry>\n  " + std::string(65536, 'e')),
         "a word of 65536 bytes is longer than the 65534 a word of a saved file holds"},
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
        {"a hero's name of a megabyte", heroLine(6, quoted(1 << 20, 'w')),
         "a name of more than 4096 bytes (saved actor, element \"name\")"},
        {"a hero's name past the name page's", heroLine(6, quoted(kHeroNameLimit + 1, 'w')),
         "the main character's name of 33 bytes is longer than the 32 the name page takes"},
        {"the longest hero's name", heroLine(6, quoted(kHeroNameLimit, 'w')), ""},
        {"a hero's name with a NUL", heroLine(6, std::string("\"Wr\0en\"", 7)), "name holds a NUL byte"},
        {"a hero's name not UTF-8", heroLine(6, "\"Wr\xE9n\""), "name is not UTF-8"},
        {"a hero's name cut inside a letter", heroLine(6, "\"Wre\xCC\""), "name is not UTF-8"},
        {"a hero's name in UTF-8", heroLine(6, "\"Wr\xC3\xA9n\""), ""},
        {"an empty hero's name", heroLine(6, "\"\""), "the main character's name is empty"},
        {"a hero's name of no letter", heroLine(6, "\"- _\""), "name holds no letter or digit"},
        {"a head naming a hero of a megabyte", edited("\"Wren\"", quoted(1 << 20, 'w')),
         "the main character's name of more than 32 bytes"},
        {"a title of 64 MB in words", edited("\"Wren\"\n \"", "\"Wren\"\n \"" + words(64 << 20)),
         "a title of more than 8192 bytes"},
        {"Mother Hesk at a megabyte", edited(heskIds, quoted(1 << 20, 'h')),
         "a name of more than 4096 bytes (saved actor, element \"name\")"},
        {"Mother Hesk at the longest", edited(heskIds, quoted(kActorNameLimit, 'h')), ""},
        {"quick actions of 64 MB", edited(heldEnd, heldEnd + "<bonus> " + quoted(64 << 20, 'q') + " </bonus>\n"),
         "the quick actions of more than 8192 bytes"},
        {"a chosen member past a party's last", edited(heldEnd, heldEnd + "<chosen> 6 </chosen>\n"),
         "the chosen member's place in the party from 0 to 5"},
        {"the last member chosen", edited(heldEnd, heldEnd + "<chosen> 5 </chosen>\n"), ""},
        {"a random source cut short", edited("<random>", "<random> \"1 2 3\""), "a random source no game wrote"},
        {"a save from before the random source was kept", withoutRandom, ""},
        {"an event waiting of no known kind", edited("<random>", "<waiting> dance </waiting> <random>"),
         "an event waiting for the player of no known kind"},
        {"a page waiting of a kind no page has", edited("<random>", "<waiting> page 37 \"T\" \"x\" </waiting> <random>"),
         "a page's kind from 35 to 36"},
        {"the question of leaving waiting", edited("<random>", "<waiting> leave </waiting> <random>"), ""},
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
        {"a use of a tile at once", orders(heroSerial, "<use> 1 <tile> 15 8 </tile> 0 </use>"), "expected an instant order"},
        {"a use of the way out at once", orders(heroSerial, "<use> 2 <object> landing_exit 1 1 </object> 0 </use>"),
         "expected an instant order"},
        {"a leave by the leader", orders(heroSerial, "<leave> </leave>"), "Wren leads the party and cannot leave it"},
        {"a leave by Mother Hesk", orders(hesk, "<leave> </leave>"), "Mother Hesk leaves a party it is not in"},
        {"a give to Mother Hesk", orders(heroSerial, "<give> <actor> " + std::to_string(hesk) + " </actor> " + tonic + " </give>"),
         "Wren gives to Mother Hesk, who are not both in the party"},
        {"a give to the lookout", orders(heroSerial, "<give> <actor> " + std::to_string(lookout & kMaxThingSerial) + " </actor> " +
                                                       tonic + " </give>"),
         "who are not both in the party"},
        {"a purchase of more knives than Tansy has", orders(heroSerial, trade(true, knife, knifeCount + "1")),
         "a purchase of " + knifeCount + "1 of Tansy the Trader's " + knifeCount},
        {"a purchase of a million knives", orders(heroSerial, trade(true, knife, "1000000")), "a purchase of 1000000"},
        {"a purchase of the most knives", orders(heroSerial, trade(true, knife, "4294967295")), "a purchase of 4294967295"},
        {"a purchase with no gold", orders(heroSerial, trade(true, knife, "1"), "", number(3, "0")),
         "a purchase for "},
        {"a sale of 3 of 2 tonics", orders(heroSerial, trade(false, tonic, "3")), "a sale of 3 of 2"},
        {"a purchase Tansy can fill", orders(heroSerial, trade(true, knife, "1"), "", number(3, "100000")), ""},
        {"a sale to Tansy out of reach", orders(heroSerial, trade(false, tonic, "2"), "", away), "",
         "Wren can't sell River Tonic to Tansy the Trader: Tansy the Trader is out of reach."},
        {"a talk to Mother Hesk out of reach",
         orders(heroSerial, "<talk> <actor> " + std::to_string(hesk) + " </actor> start \"Good day.\" </talk>"), "",
         "Wren can't talk to Mother Hesk: Mother Hesk is out of reach."},
        {"a talk to a state Mother Hesk lacks",
         orders(heroSerial, "<talk> <actor> " + std::to_string(hesk) + " </actor> gossip \"Good day.\" </talk>"),
         "an order of \"Wren\" no play gives: Mother Hesk has no talk state \"gossip\""},
        {"a give of the tonics sold just before", orders(heroSerial, trade(false, tonic, "2") + "\n<give> <actor> " +
                                                                       std::to_string(heroSerial) + " </actor> " + tonic + " </give>"),
         "", "Wren can't give it to Wren: the item is gone."},
        {"a give to the hero herself", orders(heroSerial, "<give> <actor> " + std::to_string(heroSerial) + " </actor> " + tonic +
                                                         " </give>"), ""},
        {"a move off the map", orders(heroSerial, "", "<move> 1e300 -1e300 </move>"), "off the map of area \"reedwater_landing\""},
        {"a move just off the map", orders(heroSerial, "", "<move> " + eastPast + " 5 </move>"), "a move to (" + eastPast + " 5)"},
        {"a move to the map's far corner", orders(heroSerial, "", "<move> " + std::to_string(game.Area().GetColumns() * kCellSize) + " " +
                                                                 std::to_string(game.Area().GetRows() * kCellSize) + " </move>"), ""},
        {"a definition key past the longest", orders(heroSerial, "", "<use> 2 <object> " + std::string(1000, 'k') + " 1 1 </object> 0 </use>"),
         "a definition key of 1000 bytes"},
        {"Mother Hesk with a NUL", edited(heskIds, std::string("\"Mother\0Hesk\"", 13)), "a name holds a NUL byte"},
        {"Mother Hesk not in UTF-8", edited(heskIds, "\"Mother H\xE9sk\""), "a name is not UTF-8"},
        {"Mother Hesk in UTF-8", edited(heskIds, "\"Mother H\xC3\xA9sk\""), ""},
        {"Mother Hesk posted past the largest number", heskLine("33.75\n", "1e400\n"), "malformed a number at \"1e400\""},
        {"Mother Hesk with no post, as before posts were kept", heskLine("     33.75\n     6.25\n", ""), ""},
        {"a spell in flight at Mother Hesk", flight(spellOf(plainTail)), ""},
        {"an arrow in flight at Mother Hesk", flight(arrow(at, bow)), ""},
        {"a spell and an arrow in flight", flight(spellOf(plainTail) + arrow(at, bow)), ""},
        {"a spell in flight at nobody", flight(spell("<actor> " + std::to_string(counter + 5) + " </actor> ", from,
                                                     "0 75 0") + plainTail + " </spell>"), ""},
        {"no effects in flight, as before they were kept", edited(flightOpen.substr(0, flightOpen.find("</flight>") + 10), ""), ""},
        {"a spell at the ground", flight(spell("<tile> 3 3 </tile> ", from, "0 75 0") + plainTail + " </spell>"), ""},
        {"an arrow at the ground", flight(arrow("<tile> 3 3 </tile> ", bow)), "expected an effect's target"},
        {"a spell at a cell off the grid", flight(spell("<tile> 999 999 </tile> ", from, "0 75 0") + plainTail + " </spell>"),
         "aims at a cell off the grid of area \"reedwater_landing\""},
        {"a spell at a door", flight(spell("<object> landing_exit 1 1 </object> ", from, "0 75 0") + plainTail + " </spell>"),
         "expected an effect's target"},
        {"a spell the module lacks", flight(spell(at, from, "0 75 0", "\"Wren\"", "no_such_spell") + plainTail + " </spell>"),
         "no spell the module has: \"no_such_spell\""},
        {"a spell past the map's east edge", flight(spell(at, eastPast + " 5 ", "0 75 0") + plainTail + " </spell>"),
         "an effect's place east"},
        {"a spell of no speed", flight(spell(at, from, "0 0 0") + plainTail + " </spell>"), "an effect's speed"},
        {"a spell of an endless speed", flight(spell(at, from, "0 1e400 0") + plainTail + " </spell>"), "1e400"},
        {"a spell heading past a full turn", flight(spell(at, from, "0 75 1e308") + plainTail + " </spell>"),
         "an effect's heading"},
        {"a spell sent by a NUL", flight(spell(at, from, "0 75 0", std::string("\"Wr\0en\"", 7)) + plainTail + " </spell>"),
         "an effect's sender holds a NUL byte"},
        {"a spell sent by 60,000 bytes", flight(spell(at, from, "0 75 0", quoted(60000, 'w')) + plainTail + " </spell>"),
         "an effect's sender of more than 4096 bytes"},
        {"a spell of more pulses than go together", flight(spellOf("1025 20 0 0 0")),
         "the pulses a spell stands for from 1 to 1024"},
        {"a spell of no pulse", flight(spellOf("0 20 0 0 0")), "the pulses a spell stands for from 1 to 1024"},
        {"the most pulses together", flight(spellOf("1024 20 0 0 0")), ""},
        {"a spell piercing with a blade", flight(spellOf("1 20 0 0 light_blade")), "\"light_blade\", no skill that pierces"},
        {"a spell piercing as a mage does", flight(spellOf("1 20 0 0 spell_penetration")), ""},
        {"two effects of one serial", flight(spellOf(plainTail) + spellOf(plainTail)),
         "a second effect in flight of serial 7"},
        {"an effect of serial 0", flight(spell(at, from, "0 75 0", "\"Wren\"", "still_the_spirit", "0") + plainTail +
                                         " </spell>"), "an effect's serial from 1 to 16777215"},
        {"an arrow of a name with a NUL", flight(arrow(at, std::string("\"Bo\0w\"", 6) + " 10 8 0 0 0 sharp 0 0")),
         "an attack's name holds a NUL byte"},
        {"an arrow of a damage no play knows", flight(arrow(at, "\"Bow\" 10 8 0 0 0 sorrow 0 0")), "unknown damage type"},
        {"an arrow of the widest numbers", flight(arrow(at, "\"Bow\" 2147483647 2147483647 -2147483648 2147483647 "
                                                            "2147483647 sharp -2147483648 4294967295")), ""},
        {"a next effect's serial of 0", edited(flightOpen.substr(0, flightOpen.find("</flight>")), "<flight> 0 "),
         "the next effect's serial from 1 to 16777216"},
        {"a boulder in flight", flight("<boulder> 1 </boulder>"), "expected <missile> or <spell>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto running = game.Engine().GetGame();
        std::string bonus = "kept";
        const auto caught = QuillmereTest::CatchDrav(
            [&] { game.Engine().LoadGame(dir.WriteFile("edited.drav", row.save), kSampleVersion, bonus); });
        if (row.refused.empty()) {
            ASSERT_FALSE(caught) << caught->GetMessage();
            const ThingId now = game.Game().FindLoadedActor(lookout);
            EXPECT_NE(now, 0u);
            EXPECT_EQ(game.Game().GetHeldFoes(), (std::set<ThingId>{now}));
            game.Engine().SaveGame(dir / "again.drav", kSampleVersion, nullptr);
            const std::string holding = "<holding>\n  " + std::to_string(now & kMaxThingSerial) + "\n </holding>";
            EXPECT_NE(ReadTextFile(dir / "again.drav").find(holding), std::string::npos);
            // An order that cannot be carried out where its actor stands goes at its turn, told.
            game.DrainEvents();
            const auto played = QuillmereTest::CatchDrav([&] { game.Engine().RunTick(); });
            EXPECT_FALSE(played) << played->GetMessage();
            EXPECT_TRUE(game.Main()->GetInstantOrders().empty());
            const std::vector<std::string> lines = QuillmereTest::MessageTexts(game.DrainEvents());
            if (!row.told.empty()) {
                EXPECT_EQ(std::count(lines.begin(), lines.end(), row.told), 1) << testing::PrintToString(lines);
            }
        } else if (!caught) {
            ADD_FAILURE() << "loaded";
        } else {
            EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA);
            EXPECT_NE(caught->GetMessage().find(row.refused), std::string::npos) << caught->GetMessage().substr(0, 400);
            // What it quotes of the save is a short piece.
            EXPECT_LT(caught->GetMessage().size(), (dir / "edited.drav").size() + 250) << caught->GetMessage().substr(0, 400);
            EXPECT_EQ(caught->GetMessage().rfind(dir / "edited.drav", 0), 0u) << caught->GetMessage();
            EXPECT_EQ(game.Engine().GetGame(), running);
            EXPECT_EQ(bonus, "kept");
        }
    }
}
