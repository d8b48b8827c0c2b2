#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "support/error_code.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"
#include "world/people_journal.h"

using DRAV::PeopleJournal;

namespace {

TEST(PeopleJournal, TalkingTwiceInTwoAreasKeepsOneEntry) {
    PeopleJournal people;
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin", "Reedwater Landing", "He never came back.");
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin the Apprentice", "The Reed Beds", "That is his lantern!");
    ASSERT_EQ(people.size(), 1u);
    const auto& tamsin = people.at("tamsin");
    EXPECT_EQ(tamsin->GetPersonKey(), "tamsin");
    EXPECT_EQ(tamsin->GetName(), "Tamsin");  // the name when first recorded
    EXPECT_EQ(tamsin->GetLocation(), "The Reed Beds");
    EXPECT_EQ(tamsin->GetNotes(), (std::vector<std::string>{"He never came back.", "That is his lantern!"}));
}

TEST(PeopleJournal, DescriptionGivesTheLastPlaceThenEveryNote) {
    PeopleJournal people;
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin", "Reedwater Landing", "He never came back.");
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin", "The Reed Beds", "That is his lantern!");
    std::ostringstream out;
    people.at("tamsin")->WriteDescription(out);
    EXPECT_EQ(out.str(), "Location: The Reed Beds LINE  LINE He never came back. LINE That is his lantern! LINE ");
}

TEST(PeopleJournal, SavedLayoutAndRoundTrip) {
    PeopleJournal people;
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin", "Reedwater Landing", "He never came back.");
    DRAV::AddPeopleJournalEntry(people, "tamsin", "Tamsin", "The Reed Beds", "");
    DRAV::AddPeopleJournalEntry(people, "ferrywoman", "Maud", "Reedwater Landing", "Five silver.");
    people.emplace("silent", std::make_shared<DRAV::CPeopleJournalEntry>("silent", "A Silent Boatman"));

    QuillmereTest::TempDir dir;
    const std::string path = dir / "people.drav";
    DRAVCommon::CDataFileWriter writer(path);
    DRAV::SavePeopleJournal(people, writer);
    writer.Finish();

    EXPECT_EQ(QuillmereTest::ReadTextFile(path),
              "<people>\n"
              " <entry>\n"
              "  ferrywoman\n"
              "  \"Maud\"\n"
              "  \"Reedwater Landing\"\n"
              "  \"Five silver.\"\n"
              " </entry>\n"
              " <entry>\n"
              "  silent\n"
              "  \"A Silent Boatman\"\n"
              "  \"\"\n"
              " </entry>\n"
              " <entry>\n"
              "  tamsin\n"
              "  \"Tamsin\"\n"
              "  \"The Reed Beds\"\n"
              "  \"He never came back.\"\n"
              "  \"\"\n"
              " </entry>\n"
              "</people>\n");

    PeopleJournal loaded;
    DRAV::AddPeopleJournalEntry(loaded, "stale", "Stale", "Nowhere", "old");
    DRAVCommon::CDataFileReader reader(path);
    std::set<std::string> keys;
    for (const auto& [key, person] : people) keys.insert(key);
    DRAV::LoadPeopleJournal(loaded, reader, keys);
    EXPECT_TRUE(reader.AtEnd());
    ASSERT_EQ(loaded.size(), people.size());
    for (const auto& [key, person] : people) {
        auto found = loaded.find(key);
        ASSERT_NE(found, loaded.end()) << key;
        EXPECT_EQ(found->second->GetPersonKey(), person->GetPersonKey());
        EXPECT_EQ(found->second->GetName(), person->GetName());
        EXPECT_EQ(found->second->GetLocation(), person->GetLocation());
        EXPECT_EQ(found->second->GetNotes(), person->GetNotes());
    }

    // A script's note may hold any bytes: each NUL, and each byte that starts no
    // UTF-8 letter, is kept as a "?", so that the save it goes into loads.
    PeopleJournal scribbled;
    DRAV::AddPeopleJournalEntry(scribbled, "tamsin", "Tamsin", "The Reed Beds",
                                std::string("He\0said \xE9t\xC3\xA9.", 13));
    EXPECT_EQ(scribbled.at("tamsin")->GetNotes(), std::vector<std::string>{"He?said ?t\xC3\xA9."});
}

TEST(PeopleJournal, MalformedElementsAreBadData) {
    for (const char* text : {
             "<people> tamsin </people>",
             "<people> <entry> tamsin \"Tamsin\" </entry> </people>",
             "<people> <entry> tamsin \"Tamsin\" \"Landing\" note </entry> </people>",
             "<people> <entry> tamsin \"Tamsin\" \"Landing\" </people>",
             "<people> <entry> tamsin \"Tamsin\" \"Landing\" </entry>",
             // A person the module does not know.
             "<people> <entry> a \"A\" \"L\" </entry> <entry> b \"B\" \"L\" </entry> </people>",
         }) {
        DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "save");
        PeopleJournal people;
        EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { DRAV::LoadPeopleJournal(people, reader, {"tamsin"}); }),
                  DRAV_ERR_BAD_DATA)
            << text;
    }
}

}  // namespace
