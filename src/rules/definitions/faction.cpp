#include "rules/definitions/faction.h"

#include "common/exception.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

CFaction::CFaction(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("faction");
    m_key = reader.ReadWord();
    m_name = reader.ReadQuoted();
    m_descriptionHeading = reader.ReadQuoted();
    m_descriptionText = reader.ReadQuoted();
    while (reader.IsBlock("rank")) ReadRank(reader);
    while (!reader.AtBlockEnd()) {
        if (!reader.IsWord("npc")) reader.Fail(DRAV_ERR_BAD_DATA, "expected a faction flag (npc) or the faction's end");
        m_flags |= FACTION_NPC;
        reader.Advance();
    }
    reader.EndBlock();
}

void CFaction::ReadRank(DRAVCommon::CDataFileReader& reader) {
    const auto rank = static_cast<std::uint32_t>(m_rankTitles.size());
    reader.BeginBlock("rank");
    FactionRankTitle title;
    if (reader.IsBlock("name")) {
        reader.BeginBlock("name");
        title.title = reader.ReadQuoted();
        title.femaleTitle = reader.ReadQuoted();
        reader.EndBlock();
    } else {
        title.title = reader.ReadQuoted();
    }
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a rank spell or the rank's end");
        std::string spellKey;
        SkillId skill = SKILL_NONE;
        if (reader.BeginGroup(2, false)) {
            spellKey = reader.ReadWord();
            if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, "expected the skill a rank spell needs");
            try {
                skill = ParseSkill(reader.GetToken());
            } catch (const CDRAVException&) {
                reader.Fail(DRAV_ERR_OUT_OF_RANGE, "expected the skill a rank spell needs");
            }
            reader.Advance();
        } else {
            spellKey = reader.ReadWord();
        }
        m_spells.push_back(std::make_shared<CFactionSpell>(rank, std::move(spellKey), skill));
    }
    reader.EndBlock();
    m_rankTitles.push_back(std::move(title));
}

void ParseFactions(FactionMap& factions, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("factions");
    while (!reader.AtBlockEnd()) {
        auto faction = std::make_shared<CFaction>(reader);
        factions.insert_or_assign(faction->GetKey(), std::move(faction));
    }
    reader.EndBlock();
}

CFaction* FindFaction(const FactionMap& factions, const std::string& key) {
    auto found = factions.find(key);
    return found == factions.end() ? nullptr : found->second.get();
}

}  // namespace DRAV
