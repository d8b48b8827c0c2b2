#include "game/quick_actions.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "common/exception.h"
#include "rules/items/item_template.h"
#include "rules/vocabulary/skills.h"
#include "world/item.h"
#include "world/save_head.h"

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

namespace {

struct Candidate {
    std::int32_t priority;
    std::int32_t kind;
    std::string spell;
    std::string item;
};

bool WithinReach(const DRAV::CActor& actor, const DRAV::CSpell& spell) {
    if (spell.GetLevel() == -1) return spell.GetTier() <= actor.GetMaxSpellTier();
    return actor.GetBaseLevel() + 1 + static_cast<std::int32_t>(actor.GetLevel()) >= spell.GetLevel();
}

std::int32_t SpellPriority(const DRAV::CActor& actor, const DRAV::CSpell& spell) {
    if (spell.GetSchool() == DRAV::SKILL_SNEAK) return 500;
    if (spell.GetFlags() & DRAV::SPELL_POWER) return spell.GetLevel();
    std::int32_t base = 0;
    if (spell.GetTier() != -1)
        base = std::max(5 * spell.GetTier() - 3, 0);
    else if (spell.GetLevel() == -1)
        base = spell.GetBonus();
    return base + actor.GetSpellCastingValue(spell) + DRAV::GetSkillInfo(spell.GetSchool()).spellBonus / 5;
}

bool HasEffect(const DRAV::CSpell& spell, DRAV::SpellEffectKind kind) {
    return std::any_of(spell.GetEffects().begin(), spell.GetEffects().end(),
                       [kind](const auto& effect) { return effect && effect->GetKind() == kind; });
}

}  // namespace

DRAV::CItem* FindCarriedItem(const DRAV::CActor& actor, const std::string& templateKey) {
    if (DRAV::CItem* item = DRAV::FindItemByTemplateName(actor.GetBackpackItems(), templateKey)) return item;
    for (const auto& worn : actor.GetEquipment())
        if (worn && worn->GetTemplate().GetKey() == templateKey) return worn.get();
    return nullptr;
}

void CDRAVActorInfo::AutoFill(const DRAV::CActor& actor) {
    std::vector<Candidate> candidates;
    for (const DRAV::CSpell* spell : actor.GetSpells()) {
        if (!spell || !actor.HasSkill(spell->GetSchool()) || !WithinReach(actor, *spell)) continue;
        candidates.push_back({SpellPriority(actor, *spell), 11, spell->GetKey(), {}});
    }

    // One of each: the best hit-point potion, energy potion and wand above their floors.
    Candidate healing{800, 10, {}, {}}, energy{700, 10, {}, {}}, wand{600, 10, {}, {}};
    for (const auto& item : actor.GetBackpackItems()) {
        const auto* attribute = item ? item->GetAttribute(DRAV::ITEMATTR_SPELL) : nullptr;
        if (!attribute) continue;
        const DRAV::CSpell& spell = static_cast<const DRAV::CItemAttributeSpell*>(attribute)->GetSpell();
        const std::string& key = item->GetTemplate().GetKey();
        Candidate* against = nullptr;
        std::int32_t priority = 0;
        switch (item->GetTemplate().GetKind()) {
            case DRAV::ITEM_POTION:
                if (HasEffect(spell, DRAV::EFFECT_HEAL)) {
                    against = &healing;
                    priority = 800 + spell.GetTier();
                } else if (HasEffect(spell, DRAV::EFFECT_MANA)) {
                    against = &energy;
                    priority = 700 + spell.GetTier();
                }
                break;
            case DRAV::ITEM_WAND:
                against = &wand;
                priority = 600 + spell.GetTier();
                break;
            default:
                break;
        }
        if (against && priority > against->priority) {
            against->priority = priority;
            against->item = key;
        }
    }
    if (!healing.item.empty()) candidates.push_back(healing);
    if (!energy.item.empty()) candidates.push_back(energy);
    if (!wand.item.empty() && actor.HasSkill(DRAV::SKILL_WANDS)) candidates.push_back(wand);

    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.priority > b.priority; });
    m_kind[0] = 2;
    m_kind[1] = 12;
    m_kind[2] = 20;
    m_kind[3] = 0;
    for (std::size_t slot = 4; slot < kSlots; ++slot) {
        const std::size_t index = slot - 4;
        if (index < candidates.size()) {
            m_kind[slot] = candidates[index].kind;
            m_spell[slot] = candidates[index].spell;
            m_item[slot] = candidates[index].item;
        } else {
            m_kind[slot] = 0;
        }
    }
}

void CDRAVActorInfo::DropMissingItems(const DRAV::CActor& actor) {
    for (std::int32_t slot = 0; slot < kSlots; ++slot) {
        if (m_kind[slot] != 10 || FindCarriedItem(actor, m_item[slot])) continue;
        m_kind[slot] = 0;
        m_item[slot].clear();
    }
}

namespace {

// Former members' records follow the party's entries after this word, so that a
// text written before they were kept reads as it always did.
constexpr const char* kFormerWord = "former";

// The slot number as saved (always none), then the ten slots as triples.
void WriteRecord(std::ostringstream& out, const CDRAVActorInfo& record) {
    out << CDRAVActorInfo::kNoSlot << ' ';
    for (std::int32_t slot = 0; slot < CDRAVActorInfo::kSlots; ++slot)
        out << WordOfKind(record.m_kind[slot]) << ' ' << (record.m_item[slot].empty() ? "0" : record.m_item[slot])
            << ' ' << (record.m_spell[slot].empty() ? "0" : record.m_spell[slot]) << ' ';
}

std::shared_ptr<CDRAVActorInfo> ReadRecord(std::istringstream& in) {
    auto record = std::make_shared<CDRAVActorInfo>();
    if (NextNumber(in) > CDRAVActorInfo::kNoSlot) throw CDRAVException(DRAV_ERR_BAD_DATA, "a quick action slot above 10");
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
    return record;
}

bool InParty(const DRAV::ActorList& party, DRAV::ThingId id) {
    return std::any_of(party.begin(), party.end(), [id](const auto& member) { return member->GetId() == id; });
}

}  // namespace

std::string WriteQuickActionText(const DRAV::ActorList& party, const QuickActionTable& table) {
    std::ostringstream out;
    out << party.size() << ' ';
    const CDRAVActorInfo fresh;
    for (const auto& member : party) {
        const auto found = table.find(member->GetId());
        WriteRecord(out, found != table.end() && found->second ? *found->second : fresh);
    }
    std::string text = out.str();
    // Former members' records take the room the line has left once their word and
    // count are set aside: a line past its bound would make a save that does not
    // load, where a record left out costs only that member's slot choices.
    const std::size_t heading = std::string(kFormerWord).size() + std::string(" 4294967295 ").size();
    std::size_t size = text.size() + heading;
    std::vector<std::string> former;
    for (const auto& [id, record] : table) {
        if (!record || InParty(party, id)) continue;
        std::ostringstream entry;
        entry << id << ' ';
        WriteRecord(entry, *record);
        if (size + entry.str().size() > DRAV::kSavedAppLineLimit) continue;
        size += entry.str().size();
        former.push_back(entry.str());
    }
    if (former.empty()) return text;
    text += std::string(kFormerWord) + ' ' + std::to_string(former.size()) + ' ';
    for (const std::string& entry : former) text += entry;
    return text;
}

void ReadQuickActionText(const std::string& text, const DRAV::ActorList& party, QuickActionTable& table,
                         const std::function<DRAV::ThingId(DRAV::ThingId)>& loadedId) {
    std::istringstream in(text);
    if (NextNumber(in) != party.size())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions are for another number of party members");
    QuickActionTable records;
    for (const auto& member : party) {
        std::shared_ptr<CDRAVActorInfo> record = ReadRecord(in);
        record->DropMissingItems(*member);
        records[member->GetId()] = std::move(record);
    }
    std::string word;
    if (in >> word) {
        if (word != kFormerWord) throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions go on after the last member");
        const std::uint64_t count = NextNumber(in);
        for (std::uint64_t k = 0; k < count; ++k) {
            const std::uint64_t id = NextNumber(in);
            const DRAV::ThingId now = (id >> 24) == DRAV::THING_ACTOR ? loadedId(static_cast<DRAV::ThingId>(id)) : 0;
            if ((id >> 24) != DRAV::THING_ACTOR || records.count(now))
                throw CDRAVException(DRAV_ERR_BAD_DATA, "\"" + std::to_string(id) + "\" is no former member's id");
            // Not in the party, so not at hand: its items stay as they were kept.
            std::shared_ptr<CDRAVActorInfo> record = ReadRecord(in);
            if (now != 0) records[now] = std::move(record);
        }
        if (in >> word) throw CDRAVException(DRAV_ERR_BAD_DATA, "the quick actions go on after the last former member");
    }
    for (auto& [id, record] : records) table[id] = std::move(record);
}
