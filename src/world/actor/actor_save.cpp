// The "actor" block of a saved game: written and read in one fixed order.

#include <limits>
#include <utility>

#include "common/exception.h"
#include "common/refusal_text.h"
#include "rules/module.h"
#include "rules/monsters/actor_names.h"
#include "rules/monsters/actor_template.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/saved_orders.h"
#include "world/saved_word.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kMaxSerial = 0xFFFFFF;
// An actor faces a way turned by at most a full turn from north either way.
constexpr double kFullTurn = 6.283185307179587;
// Where it stands is a number; whether that lies on its area's grid is the area's to say.
constexpr double kLowestPlace = std::numeric_limits<double>::lowest();
constexpr double kHighestPlace = std::numeric_limits<double>::max();

// Names the element being read in whatever a step throws, keeping the code; the
// reader's own messages already start with the file.
class CLoadStep {
public:
    explicit CLoadStep(const DRAVCommon::CDataFileReader& reader) : m_reader(reader) {}
    void Set(const char* element) { m_element = element; }

    template <typename F>
    void Run(F&& step) {
        try {
            step();
        } catch (const CDRAVException& error) {
            std::string message = error.GetMessage();
            const std::string& source = m_reader.GetSourceName();
            if (message.compare(0, source.size(), source) != 0) message = source + ": " + message;
            throw CDRAVException(error.GetCode(), message + " (saved actor, element \"" + m_element + "\")");
        }
    }

private:
    const DRAVCommon::CDataFileReader& m_reader;
    const char* m_element = "actor";
};

// The saved serial, and the actor numbered anew by the game it loads into.
ThingId ReadSavedId(DRAVCommon::CDataFileReader& reader, CGame& game) {
    ThingId id = 0;
    CLoadStep step(reader);
    step.Run([&] {
        reader.BeginBlock("actor");
        step.Set("serial");
        std::uint32_t serial = reader.ReadUInt();
        if (serial > kMaxSerial) reader.Fail(DRAV_ERR_OUT_OF_RANGE, "thing serial above 0xFFFFFF");
        id = game.NumberSavedActor(serial);
    });
    return id;
}

void WriteItem(DRAVCommon::CDataFileWriter& writer, const CItem& item) {
    writer.BeginGroup(3);
    writer.WriteWord(item.GetTemplate().GetKey());
    writer.WriteValue(static_cast<std::uint32_t>(item.GetCount()));
    writer.WriteValue(item.GetExpiryTick());
}

// One item group after its "(": a new item of the named template, or null when the
// module no longer has that template (the item is dropped, the load goes on).
std::shared_ptr<CItem> ReadItem(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    std::string key = reader.ReadWord();
    const std::uint32_t count = ReadItemCount(reader);
    std::uint32_t expiry = reader.ReadUInt();
    ThingId id = game.NewThingId(THING_ITEM);
    const CItemTemplate* itemTemplate = FindItemTemplate(module.GetItemTemplates(), key);
    if (!itemTemplate) return nullptr;
    return std::make_shared<CItem>(id, *itemTemplate, static_cast<std::int32_t>(count), expiry);
}

void WriteItemList(DRAVCommon::CDataFileWriter& writer, const char* element, const ItemPtrList& items) {
    writer.BeginBlock(element);
    for (const auto& item : items) WriteItem(writer, *item);
    writer.EndBlock();
}

}  // namespace

CActor::CActor(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module)
    : CActor(ReadSavedId(reader, game)) {
    m_game = &game;
    LoadValues(reader, game, module);
    Relink(reader, game, module);
}

void CActor::LoadValues(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    CLoadStep step(reader);
    step.Run([&] {
        step.Set("position");
        const double x = reader.ReadDouble(kLowestPlace, kHighestPlace, "a position");
        SetPosition(x, reader.ReadDouble(kLowestPlace, kHighestPlace, "a position"));
        m_facing = reader.ReadDouble(-kFullTurn, kFullTurn, "a facing");
        step.Set("size");
        // As its definition gives them; one made into an actor always has a size.
        double radius = 0.0;
        ReadActorSize(reader, radius, m_secondSize);
        if (!(radius > 0.0)) throw CDRAVException(DRAV_ERR_BAD_DATA, "an actor's radius of 0");
        SetRadius(radius);
        step.Set("graphic");
        m_graphicName = reader.ReadWord();
        if (reader.IsBlock("color")) {
            step.Set("color");
            m_colors = std::make_shared<DRAVGraph::CGraphicColors>(reader);
        }
        step.Set("name");
        m_name = KeptName(reader, reader.ReadQuoted(kActorNameLimit, "a name"), "a name");
        m_secondName = KeptName(reader, reader.ReadQuoted(kActorNameLimit, "a description"), "a description");
        reader.ReadColour(m_nameColor);
        step.Set("ids");
        // Older saves have the four words without the block and no encounter index.
        bool idsBlock = reader.IsBlock("ids");
        if (idsBlock) reader.BeginBlock("ids");
        m_nameWord = reader.ReadWordOrEmpty();
        RequireSavedWord(reader, m_nameWord, "name word");
        m_templateName = reader.ReadWord();
        m_encounterName = reader.ReadWordOrEmpty();
        m_completionTag = reader.ReadWordOrEmpty();
        RequireSavedWord(reader, m_completionTag, "completion tag");
        if (idsBlock) {
            m_encounterIndex = reader.ReadInt();
            // Older saves keep no post.
            if (!reader.AtBlockEnd()) {
                const double x = reader.ReadDouble(kLowestPlace, kHighestPlace, "a post");
                SetPost(x, reader.ReadDouble(kLowestPlace, kHighestPlace, "a post"));
            }
            reader.EndBlock();
        }
        step.Set("relation");
        m_relation = ReadRelation(reader);
        step.Set("party index");
        m_partyIndex = reader.ReadUInt();
        step.Set("class");
        m_class = ReadClass(reader);
        step.Set("gender");
        m_gender = ReadGender(reader);
        step.Set("race");
        m_race = ReadRace(reader);
        step.Set("levels");
        m_monsterFlags = reader.ReadUInt();
        m_baseLevel = reader.ReadInt();
        m_level = reader.ReadUInt();
        m_experience = reader.ReadUInt();
        m_unspentPoints = reader.ReadUInt();
        m_skillEdit = reader.ReadInt();
        step.Set("faction");
        if (reader.BeginPairGroup()) {
            std::string key = reader.ReadWord();
            m_faction = FindFaction(module.GetFactions(), key);
            m_factionRank = reader.ReadUInt();
        }
        step.Set("attributes");
        for (auto& attribute : m_attributes) attribute = reader.ReadUInt();
        step.Set("speeds");
        m_defenseAdjustment = reader.ReadInt();
        m_actionSpeed = reader.ReadInt();
        m_movementSpeed = reader.ReadInt();
        step.Set("resistances");
        for (auto& resistance : m_baseResistances) resistance = reader.ReadInt();
        step.Set("attack");
        while (reader.IsBlock("attack")) m_attacks.push_back(ReadAttack(reader, true));
        step.Set("skills");
        if (!reader.IsBlock("skills")) reader.Fail(DRAV_ERR_BAD_DATA, "expected <skills>");
        ReadSkills(m_skills, reader, true);
        step.Set("hit points");
        m_damageTaken = reader.ReadInt();
        m_baseHitPoints = reader.ReadUInt();
        m_lastDamage = reader.ReadInt();
        m_lastDamageTick = reader.ReadUInt();
        m_healsReceived = reader.ReadInt();
        m_energyUsed = reader.ReadInt();
        if (m_damageTaken < 0 || m_energyUsed < 0) reader.Fail(DRAV_ERR_BAD_DATA, "negative damage or energy used");
        step.Set("action state");
        std::uint32_t state = reader.ReadUInt();
        if (state > ACTION_STRIKE) reader.Fail(DRAV_ERR_OUT_OF_RANGE, "action state outside 0-5");
        m_actionState = static_cast<ActionState>(state);
        m_pauseEndTick = reader.ReadUInt();
        m_actionEndTick = reader.ReadUInt();
        m_summonEndTick = reader.ReadUInt();
        m_targetChangeTick = reader.ReadUInt();
        m_targetChangeId = reader.ReadUInt();
        m_powerCooldownTick = reader.ReadUInt();
        step.Set("spellapplylist");
        ReadSpellApplyList(m_activeEffects, reader, module.GetSpells());
        if (reader.IsBlock("power")) {
            step.Set("power");
            reader.BeginBlock("power");
            m_currentPower = &GetSpell(module.GetSpells(), reader.ReadWord());
            m_powerEndTick = reader.ReadUInt();
            reader.EndBlock();
            // The power's effect is the last silent effect of its name, if it is still on.
            for (const auto& effect : m_activeEffects)
                if (effect->IsSilent() && effect->GetName() == m_currentPower->GetName()) m_powerEffect = effect.get();
        }
        step.Set("equipment");
        for (auto& slot : m_equipment) {
            if (reader.IsWord("0")) {
                reader.Advance();
                continue;
            }
            if (!reader.BeginGroup(3, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected an equipment slot");
            slot = ReadItem(reader, game, module);
            if (slot) slot->SetHolder(this);
        }
        RecountModifiers();
        LoadItems(reader, game, module);
        step.Set("spells");
        ReadSpellList(m_spells, reader, module.GetSpells());
        // Saves from before the game kept what its actors were doing have none.
        if (reader.IsBlock("orders")) {
            step.Set("orders");
            m_savedOrders = std::make_shared<CSavedOrders>(reader, module);
        }
    });
}

void CActor::LoadItems(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    for (auto [element, list] : {std::pair{"backpack", &m_backpack}, std::pair{"dropitems", &m_dropItems}}) {
        reader.BeginBlock(element);
        while (reader.BeginGroup(3, false)) {
            RequireRoomInSavedList(reader, list->size());
            if (auto item = ReadItem(reader, game, module)) {
                item->SetHolder(this);
                list->push_back(std::move(item));
            }
        }
        reader.EndBlock();
    }
}

void CActor::Relink(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    const CActorTemplate* definition = nullptr;
    CLoadStep step(reader);
    step.Run([&] {
        if (IsMainCharacter()) {
            step.Set("name");
            if (const std::string fault = HeroNameFault(m_name); !fault.empty())
                throw CDRAVException(DRAV_ERR_BAD_DATA, "the main character's name " + fault);
            m_talkStates.clear();
        } else {
            step.Set("ids");
            definition = module.FindMonsterTemplate(m_templateName);
            if (!definition) reader.Fail(DRAV_ERR_BAD_DATA, "no monster definition " + DRAVCommon::QuotedPiece(m_templateName));
            m_talkStates = definition->GetTalkStates();
            m_heartbeat = definition->GetHeartbeat();
            SetBrain(definition->CopyBrain(), module.GetBrainFunctions());
            step.Set("brain");
            if (reader.IsBlock("brain")) {
                if (m_brain && m_brainFunctions.loadState) m_brainFunctions.loadState(*m_brain, reader);
                else reader.SkipBlock("brain");
            }
        }
        m_storeFlag = 0;
        step.Set("actor");
        reader.EndBlock();
    });
    // Only a whole block joins the game's stores.
    if (definition && definition->GetStore()) {
        AddStoreIfMissing(game.GetStores(), m_templateName, *definition->GetStore(), module, &game);
        m_store = FindStore(game.GetStores(), m_templateName);
    }
}

void CActor::RestoreSavedOrders(const CGame& game) {
    const std::shared_ptr<const CSavedOrders> saved = std::exchange(m_savedOrders, nullptr);
    if (saved) saved->Restore(*this, game);
}

void CActor::Save(DRAVCommon::CDataFileWriter& writer, const CModule& module) const {
    writer.BeginBlock("actor");
    writer.WriteValue(GetId() & kMaxSerial);
    for (double value : {m_x, m_y, m_facing, m_radius, m_secondSize}) writer.WriteDouble(value);
    writer.WriteWord(m_graphicName);
    if (m_colors) m_colors->Save(writer);
    writer.WriteQuoted(m_name);
    writer.WriteQuoted(m_secondName);
    writer.BeginGroup(3);
    writer.WriteValue((m_nameColor >> 16) & 0xFF);
    writer.WriteValue((m_nameColor >> 8) & 0xFF);
    writer.WriteValue(m_nameColor & 0xFF);
    writer.BeginBlock("ids");
    writer.WriteWord(m_nameWord);
    writer.WriteWord(m_templateName);
    writer.WriteWord(m_encounterName);
    writer.WriteWord(m_completionTag);
    writer.WriteValue(m_encounterIndex);
    if (m_hasPost) {
        writer.WriteDouble(m_postX);
        writer.WriteDouble(m_postY);
    }
    writer.EndBlock();
    writer.WriteWord(GetRelationKey(m_relation));
    writer.WriteValue(m_partyIndex);
    writer.WriteWord(GetClassKey(m_class));
    WriteGender(writer, m_gender);
    writer.WriteWord(GetRaceKey(m_race));
    writer.WriteValue(m_monsterFlags);
    writer.WriteValue(m_baseLevel);
    writer.WriteValue(m_level);
    writer.WriteValue(m_experience);
    writer.WriteValue(m_unspentPoints);
    writer.WriteValue(m_skillEdit);
    if (m_faction) {
        writer.BeginGroup(2);
        writer.WriteWord(m_faction->GetKey());
        writer.WriteValue(m_factionRank);
    } else {
        writer.WriteWord("0");
    }
    for (auto attribute : m_attributes) writer.WriteValue(attribute);
    writer.WriteValue(m_defenseAdjustment);
    writer.WriteValue(m_actionSpeed);
    writer.WriteValue(m_movementSpeed);
    for (auto resistance : m_baseResistances) writer.WriteValue(resistance);
    for (const auto& attack : m_attacks) WriteAttack(writer, *attack);
    WriteSkills(m_skills, writer);
    writer.WriteValue(m_damageTaken);
    writer.WriteValue(m_baseHitPoints);
    writer.WriteValue(m_lastDamage);
    writer.WriteValue(m_lastDamageTick);
    writer.WriteValue(m_healsReceived);
    writer.WriteValue(m_energyUsed);
    for (std::uint32_t value : {static_cast<std::uint32_t>(m_actionState), m_pauseEndTick, m_actionEndTick,
                                m_summonEndTick, m_targetChangeTick, m_targetChangeId, m_powerCooldownTick})
        writer.WriteValue(value);
    WriteSpellApplyList(m_activeEffects, writer);
    if (m_currentPower) {
        writer.BeginBlock("power");
        writer.WriteWord(m_currentPower->GetKey());
        writer.WriteValue(m_powerEndTick);
        writer.EndBlock();
    }
    for (const auto& slot : m_equipment) {
        if (slot) WriteItem(writer, *slot);
        else writer.WriteWord("0");
    }
    WriteItemList(writer, "backpack", m_backpack);
    WriteItemList(writer, "dropitems", m_dropItems);
    WriteSpellList(m_spells, writer);
    CSavedOrders::Write(writer, *this, module);
    if (!IsMainCharacter() && m_brain && m_brainFunctions.saveState) m_brainFunctions.saveState(*m_brain, writer);
    writer.EndBlock();
}

}  // namespace DRAV
