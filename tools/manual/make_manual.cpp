// make_manual MODULE_FOLDER MANUAL: completes the manual MANUAL (an HTML file) with
// the reference of chapter 1 of the module folder MODULE_FOLDER: every skill,
// spell, manual item and faction, each under the anchor the game opens for it
// ("skill_", "spell_", "item_" or "faction_" followed by its key), with the text
// its information page shows. The reference takes the place of the marker
// comment "<!-- REFERENCE"...; the file is rewritten whole.

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

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

std::string Reference(const DRAV::CModule& module) {
    std::ostringstream out;
    out << "<h2 id=\"Skills\">Skills</h2>\n";
    for (int skill = 0; skill < 98; ++skill) {
        const auto id = static_cast<DRAV::SkillId>(skill);
        std::ostringstream text;
        DRAV::WriteSkillDescription(id, nullptr, text);
        Entry(out, "skill_" + DRAV::GetSkillKey(id), DRAV::GetSkillName(id), text.str());
    }
    out << "<h2 id=\"Spells\">Spells</h2>\n";
    for (const auto& [key, spell] : module.GetSpells()) {
        std::ostringstream text;
        DRAV::WriteSpellDescription(*spell, module, nullptr, text);
        Entry(out, "spell_" + key, spell->GetName(), text.str());
    }
    out << "<h2 id=\"Items\">Items</h2>\n";
    for (const auto& [key, item] : module.GetItemTemplates()) {
        if (!item->HasFlag(DRAV::ITEMFLAG_MANUAL)) continue;
        std::ostringstream text;
        DRAV::WriteItemDescription(*item, module, nullptr, text);
        Entry(out, "item_" + key, item->GetName(), text.str());
    }
    out << "<h2 id=\"Factions\">Factions</h2>\n";
    for (const auto& [key, faction] : module.GetFactions()) {
        std::ostringstream text;
        DRAV::WriteFactionDescription(*faction, text);
        Entry(out, "faction_" + key, faction->GetName(), text.str());
    }
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual MODULE_FOLDER MANUAL\n");
        return 2;
    }
    try {
        DRAV::CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        module.Load(1, nullptr, std::make_shared<DRAVCommon::CDataFileFactoryPath>(argv[1], 1));

        std::ifstream in(argv[2], std::ios::binary);
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[2]);
        std::string manual((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t marker = manual.find("<!-- REFERENCE");
        if (marker == std::string::npos) throw std::runtime_error("no <!-- REFERENCE marker in the manual");
        const std::size_t after = manual.find("-->", marker);
        if (after == std::string::npos) throw std::runtime_error("the REFERENCE marker is not closed");
        manual.replace(marker, after + 3 - marker, Reference(module));

        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << manual;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_manual: %s\n", failure.what());
        return 1;
    }
    return 0;
}
