#pragma once
// Orders and guilds that characters and monsters belong to, with numbered ranks,
// rank titles and the spells members of a rank may learn.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "rules/vocabulary/skill_id.h"

namespace DRAV {

enum FactionFlags : std::uint32_t {
    FACTION_NPC = 1,
};

struct FactionRankTitle {
    std::string title;
    std::string femaleTitle;  // empty: the title serves everyone
};

// A spell that members of `rank` and above may learn. The key names a spell of the
// module; checking that it exists is left to whoever holds the module's spells.
class CFactionSpell {
public:
    CFactionSpell(std::uint32_t rank, std::string spellKey, SkillId requiredSkill)
        : m_rank(rank), m_spellKey(std::move(spellKey)), m_requiredSkill(requiredSkill) {}

    std::uint32_t GetRank() const { return m_rank; }
    const std::string& GetSpellKey() const { return m_spellKey; }
    // SKILL_NONE when no skill is needed.
    SkillId GetRequiredSkill() const { return m_requiredSkill; }

private:
    std::uint32_t m_rank;
    std::string m_spellKey;
    SkillId m_requiredSkill;
};

class CFaction {
public:
    // Reads one "faction" element.
    explicit CFaction(DRAVCommon::CDataFileReader& reader);

    const std::string& GetKey() const { return m_key; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetDescriptionHeading() const { return m_descriptionHeading; }
    const std::string& GetDescriptionText() const { return m_descriptionText; }
    // Indexed by rank number.
    const std::vector<FactionRankTitle>& GetRankTitles() const { return m_rankTitles; }
    // In file order.
    const std::vector<std::shared_ptr<CFactionSpell>>& GetSpells() const { return m_spells; }
    std::uint32_t GetFlags() const { return m_flags; }

private:
    void ReadRank(DRAVCommon::CDataFileReader& reader);

    std::string m_key;
    std::string m_name;
    std::string m_descriptionHeading;
    std::string m_descriptionText;
    std::vector<FactionRankTitle> m_rankTitles;
    std::vector<std::shared_ptr<CFactionSpell>> m_spells;
    std::uint32_t m_flags = 0;
};

using FactionMap = std::map<std::string, std::shared_ptr<CFaction>>;

// Reads the "factions" element into `factions`; a later faction replaces an earlier
// one of the same key.
void ParseFactions(FactionMap& factions, DRAVCommon::CDataFileReader& reader);

// Null when there is no faction of that key.
CFaction* FindFaction(const FactionMap& factions, const std::string& key);

}  // namespace DRAV
