#include "engine/ai_cast.h"

#include <array>
#include <utility>

#include "common/exception.h"

namespace DRAV {

CAICast::CAICast(DRAVCommon::CDataFileReader& reader) {
    while (!reader.IsAnyBlockStart() && !reader.AtBlockEnd()) m_spellNames.push_back(reader.ReadWord());
    m_backup = ReadElement(reader);
}

CAICast::CAICast(std::vector<std::string> spellNames, std::shared_ptr<CAI> backup)
    : m_backup(std::move(backup)), m_spellNames(std::move(spellNames)) {
    if (!m_backup) throw CDRAVException(DRAV_ERR_UNEXPECTED, "a cast AI needs a backup AI");
}

std::shared_ptr<CAI> CAICast::Clone() const { return std::make_shared<CAICast>(m_spellNames, m_backup->Clone()); }

void CAICast::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-cast");
    m_nextSpellIndex = reader.ReadUInt();
    m_lastCastTick = reader.ReadUInt();
    m_backup->LoadState(reader);
    reader.EndBlock();
}

void CAICast::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-cast");
    writer.WriteValue(m_nextSpellIndex);
    writer.WriteValue(m_lastCastTick);
    m_backup->SaveState(writer);
    writer.EndBlock();
}

namespace {

constexpr std::array<std::pair<const char*, AutocastCategory>, 6> kCategoryWords{{
    {"summon", AUTOCAST_SUMMON},
    {"hinder", AUTOCAST_HINDER},
    {"aid", AUTOCAST_AID},
    {"heal", AUTOCAST_HEAL},
    {"damage", AUTOCAST_DAMAGE},
    {"maybedamage", AUTOCAST_MAYBEDAMAGE},
}};

std::uint32_t ReadCategories(DRAVCommon::CDataFileReader& reader) {
    std::uint32_t categories = 0;
    while (!reader.AtBlockEnd()) {
        bool known = false;
        for (const auto& [word, category] : kCategoryWords) {
            if (reader.IsWord(word)) {
                categories |= category;
                known = true;
                break;
            }
        }
        if (!known)
            reader.Fail(DRAV_ERR_BAD_DATA,
                        "expected an autocast category (summon, hinder, aid, heal, damage or maybedamage)");
        reader.Advance();
    }
    return categories;
}

}  // namespace

CAIAutocast::CAIAutocast(DRAVCommon::CDataFileReader& reader) : m_categories(ReadCategories(reader)) {}

std::shared_ptr<CAI> CAIAutocast::Clone() const { return std::make_shared<CAIAutocast>(m_categories); }

void CAIAutocast::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("ai-autocast");
    for (std::uint32_t& tick : m_nextTicks) tick = reader.ReadUInt();
    reader.EndBlock();
}

void CAIAutocast::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("ai-autocast");
    for (std::uint32_t tick : m_nextTicks) writer.WriteValue(tick);
    writer.EndBlock();
}

}  // namespace DRAV
