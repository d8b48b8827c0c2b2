#include "game/quick_actions.h"

#include <sstream>
#include <vector>

#include "common/exception.h"
#include "world/item.h"

namespace {

struct KindWord {
    std::int32_t kind;
    const char* word;
};
constexpr KindWord kKindWords[] = {{0, "none"}, {2, "attack"}, {10, "use"}, {11, "cast"}, {12, "talk"}, {20, "action"}};

const char* WordOfKind(std::int32_t kind) {
    for (const KindWord& entry : kKindWords)
        if (entry.kind == kind) return entry.word;
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "quick action kind " + std::to_string(kind) + " has no keyword");
}

std::string NextToken(std::istringstream& in) {
    std::string token;
    if (!(in >> token)) throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions end early");
    return token;
}

std::int32_t KindOfWord(const std::string& word) {
    for (const KindWord& entry : kKindWords)
        if (word == entry.word) return entry.kind;
    throw CDRAVException(DRAV_ERR_BAD_DATA, "unknown quick action \"" + word + "\"");
}

std::uint64_t NextNumber(std::istringstream& in) {
    const std::string token = NextToken(in);
    if (token.empty() || token.size() > 9 || token.find_first_not_of("0123456789") != std::string::npos)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "\"" + token + "\" is no count in the quick actions");
    return std::stoull(token);
}

std::string KeyOrEmpty(const std::string& token) { return token == "0" ? std::string() : token; }

}  // namespace

void CDRAVActorInfo::AutoFill(const DRAV::CActor&) {
    m_kind = {2, 12, 20, 0, 0, 0, 0, 0, 0, 0};
}

std::string WriteQuickActionText(const DRAV::ActorList& party, const QuickActionTable& table) {
    std::ostringstream out;
    out << party.size() << ' ';
    const CDRAVActorInfo fresh;
    for (const auto& member : party) {
        const auto found = table.find(member.get());
        const CDRAVActorInfo& record = found != table.end() && found->second ? *found->second : fresh;
        out << CDRAVActorInfo::kNoSlot << ' ';
        for (std::int32_t slot = 0; slot < CDRAVActorInfo::kSlots; ++slot)
            out << WordOfKind(record.m_kind[slot]) << ' ' << (record.m_item[slot].empty() ? "0" : record.m_item[slot])
                << ' ' << (record.m_spell[slot].empty() ? "0" : record.m_spell[slot]) << ' ';
    }
    return out.str();
}

void ReadQuickActionText(const std::string& text, const DRAV::ActorList& party, QuickActionTable& table) {
    std::istringstream in(text);
    if (NextNumber(in) != party.size())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions are for another number of party members");
    std::vector<std::shared_ptr<CDRAVActorInfo>> records;
    for (std::size_t member = 0; member < party.size(); ++member) {
        auto record = std::make_shared<CDRAVActorInfo>();
        if (NextNumber(in) > CDRAVActorInfo::kNoSlot)
            throw CDRAVException(DRAV_ERR_BAD_DATA, "a quick action slot above 10");
        // A loaded game has no current quick action.
        record->m_current = CDRAVActorInfo::kNoSlot;
        for (std::int32_t slot = 0; slot < CDRAVActorInfo::kSlots; ++slot) {
            record->m_kind[slot] = KindOfWord(NextToken(in));
            record->m_item[slot] = KeyOrEmpty(NextToken(in));
            record->m_spell[slot] = KeyOrEmpty(NextToken(in));
        }
        record->m_kind[0] = 2;
        record->m_kind[1] = 12;
        record->m_kind[2] = 20;
        // A use slot whose item the member no longer carries is emptied.
        for (std::int32_t slot = 0; slot < CDRAVActorInfo::kSlots; ++slot) {
            if (record->m_kind[slot] != 10) continue;
            const DRAV::CActor& actor = *party[member];
            bool carried = DRAV::FindItemByTemplateName(actor.GetBackpackItems(), record->m_item[slot]) != nullptr;
            for (const auto& worn : actor.GetEquipment())
                if (worn && DRAV::FindItemByTemplateName({worn}, record->m_item[slot])) carried = true;
            if (!carried) {
                record->m_kind[slot] = 0;
                record->m_item[slot].clear();
            }
        }
        records.push_back(std::move(record));
    }
    std::string extra;
    if (in >> extra) throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions go on after the last member");
    for (std::size_t member = 0; member < party.size(); ++member) table[party[member].get()] = records[member];
}
