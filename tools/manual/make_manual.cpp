// make_manual MODULE_FOLDER MANUAL: completes the manual MANUAL (an HTML file) with
// the reference of every chapter of the module folder MODULE_FOLDER: every skill,
// spell, manual item and faction that any chapter defines, each once under the
// anchor the game opens for it ("skill_", "spell_", "item_" or "faction_" followed
// by its key), with the text its information page shows in the first chapter
// that has it. The reference takes the place of the marker comment
// "<!-- REFERENCE"...; the file is rewritten whole.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/data_file_path.h"
#include "engine/brain/brain_functions.h"
#include "rules/descriptions/definition_descriptions.h"
#include "rules/descriptions/item_description.h"
#include "rules/module.h"
#include "rules/vocabulary/skills.h"

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// The game's text markup as HTML: "LINE" ends a line. The first line is the
// entry's title, which the heading already shows.
std::string MarkupToHtml(const std::string& text) {
    std::istringstream words(text);
    std::string word, html, line;
    bool title = true;
    auto endLine = [&] {
        if (!title) html += Escape(line) + "<br>\n";
        title = false;
        line.clear();
    };
    while (words >> word) {
        if (word == "LINE") {
            endLine();
            continue;
        }
        if (!line.empty()) line += ' ';
        line += word;
    }
    if (!line.empty()) endLine();
    return html;
}

void Entry(std::ostream& out, const std::string& anchor, const std::string& title, const std::string& text) {
    out << "<div class=\"entry\"><h3 id=\"" << Escape(anchor) << "\">" << Escape(title) << "</h3>\n"
        << MarkupToHtml(text) << "</div>\n";
}

// One section's entries by key: the anchor's key, then the title and the text.
using Section = std::map<std::string, std::pair<std::string, std::string>>;

void Collect(const DRAV::CModule& module, Section& spells, Section& items, Section& factions) {
    for (const auto& [key, spell] : module.GetSpells()) {
        if (spells.contains(key)) continue;
        std::ostringstream text;
        DRAV::WriteSpellDescription(*spell, module, nullptr, text);
        spells[key] = {spell->GetName(), text.str()};
    }
    for (const auto& [key, item] : module.GetItemTemplates()) {
        if (!item->HasFlag(DRAV::ITEMFLAG_MANUAL) || items.contains(key)) continue;
        std::ostringstream text;
        DRAV::WriteItemDescription(*item, module, nullptr, text);
        items[key] = {item->GetName(), text.str()};
    }
    for (const auto& [key, faction] : module.GetFactions()) {
        if (factions.contains(key)) continue;
        std::ostringstream text;
        DRAV::WriteFactionDescription(*faction, text);
        factions[key] = {faction->GetName(), text.str()};
    }
}

void WriteSection(std::ostream& out, const char* heading, const char* prefix, const Section& section) {
    out << "<h2 id=\"" << heading << "\">" << heading << "</h2>\n";
    for (const auto& [key, entry] : section) Entry(out, prefix + key, entry.first, entry.second);
}

std::string Reference(const std::vector<std::unique_ptr<DRAV::CModule>>& chapters) {
    std::ostringstream out;
    out << "<h2 id=\"Skills\">Skills</h2>\n";
    for (int skill = 0; skill < 98; ++skill) {
        const auto id = static_cast<DRAV::SkillId>(skill);
        std::ostringstream text;
        DRAV::WriteSkillDescription(id, nullptr, text);
        Entry(out, "skill_" + DRAV::GetSkillKey(id), DRAV::GetSkillName(id), text.str());
    }
    Section spells, items, factions;
    for (const auto& module : chapters) Collect(*module, spells, items, factions);
    WriteSection(out, "Spells", "spell_", spells);
    WriteSection(out, "Items", "item_", items);
    WriteSection(out, "Factions", "faction_", factions);
    return out.str();
}

// Every chapter of the folder, from chapter 1 until the first number without a
// world file.
std::vector<std::unique_ptr<DRAV::CModule>> LoadChapters(const std::string& folder) {
    std::vector<std::unique_ptr<DRAV::CModule>> chapters;
    for (int chapter = 1; std::filesystem::exists(std::filesystem::path(folder) / std::to_string(chapter) / "world.drav");
         ++chapter) {
        auto module = std::make_unique<DRAV::CModule>();
        module->SetBrainFunctions(DRAV::GetBrainFunctions());
        module->Load(chapter, nullptr, std::make_shared<DRAVCommon::CDataFileFactoryPath>(folder, chapter));
        chapters.push_back(std::move(module));
    }
    if (chapters.empty()) throw std::runtime_error("no chapter in " + folder);
    return chapters;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual MODULE_FOLDER MANUAL\n");
        return 2;
    }
    try {
        const auto chapters = LoadChapters(argv[1]);

        std::ifstream in(argv[2], std::ios::binary);
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[2]);
        std::string manual((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t marker = manual.find("<!-- REFERENCE");
        if (marker == std::string::npos) throw std::runtime_error("no <!-- REFERENCE marker in the manual");
        const std::size_t after = manual.find("-->", marker);
        if (after == std::string::npos) throw std::runtime_error("the REFERENCE marker is not closed");
        manual.replace(marker, after + 3 - marker, Reference(chapters));

        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << manual;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_manual: %s\n", failure.what());
        return 1;
    }
    return 0;
}
