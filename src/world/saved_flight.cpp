#include "world/saved_flight.h"

#include <limits>
#include <memory>
#include <set>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/monsters/actor_names.h"
#include "rules/vocabulary/skills.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/effect.h"
#include "world/game.h"
#include "world/saved_thing.h"
#include "world/saved_word.h"

namespace DRAV {
namespace {

// A heading is a turn from north, by at most a full turn either way.
constexpr double kFullTurn = 6.283185307179587;
// An attack's name is its bearer's, with the attack's own in brackets after it.
constexpr std::size_t kAttackNameLimit = 2 * kActorNameLimit + 3;

void WriteBool(DRAVCommon::CDataFileWriter& writer, bool value) { writer.WriteWord(value ? "true" : "false"); }

// A spell or "0" for none.
void WriteSpellKey(DRAVCommon::CDataFileWriter& writer, const CSpell* spell) {
    writer.WriteWordOrZero(spell ? spell->GetKey() : std::string());
}

const CSpell* ReadSpellKey(DRAVCommon::CDataFileReader& reader, const CModule& module, bool none) {
    const std::string key = reader.ReadWordOrEmpty();
    if (key.empty() && none) return nullptr;
    const CSpell* spell = FindSpell(module.GetSpells(), key);
    if (!spell) reader.Fail(DRAV_ERR_BAD_DATA, "an effect in flight of no spell the module has: " + NamedWord(key));
    return spell;
}

// A name a line tells, or none: an actor's, a trap's, an attack's.
std::string ReadShownName(DRAVCommon::CDataFileReader& reader, std::size_t limit, const char* what) {
    std::string name = reader.ReadQuoted(limit, what);
    if (const std::string fault = NameTextFault(name); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, std::string(what) + " " + fault);
    return name;
}

// The skill a launched spell pierces resistance with: none or one of the two that do.
SkillId ReadPenetration(DRAVCommon::CDataFileReader& reader) {
    const std::string key = reader.ReadWordOrEmpty();
    if (key.empty()) return SKILL_NONE;
    for (const SkillId skill : {SKILL_SPELL_PENETRATION, SKILL_GREATER_SPELL_PENETRATION})
        if (key == GetSkillKey(skill)) return skill;
    reader.Fail(DRAV_ERR_BAD_DATA, "a spell in flight pierces with " + NamedWord(key) + ", no skill that pierces");
}

// What every effect holds, in the order written: its serial, its target, where it
// is, how fast it flies, which way it faces, whether it has landed, who sent it and
// for whom.
struct CFlightHead {
    std::uint32_t serial = 0;
    CSavedThing target;
    double x = 0.0, y = 0.0, z = 0.0, speed = 0.0, heading = 0.0;
    bool done = false;
    std::string source;
    bool fromParty = false;
};

void WriteHead(DRAVCommon::CDataFileWriter& writer, const CEffect& effect, const CSavedThing& target) {
    writer.WriteValue(effect.GetId() & kMaxThingSerial);
    target.Write(writer);
    for (const double value : {effect.GetX(), effect.GetY(), effect.GetZ(), effect.GetSpeed(), effect.GetHeading()})
        writer.WriteValue(value);
    WriteBool(writer, effect.IsDone());
    writer.WriteQuoted(effect.GetSourceName());
    WriteBool(writer, effect.IsFromParty());
}

// `serials` holds those read before: play never has two effects of one id in
// flight, as their serials come round only after sixteen million launches.
CFlightHead ReadHead(DRAVCommon::CDataFileReader& reader, const CArea& area, std::uint32_t targets,
                     std::set<std::uint32_t>& serials) {
    CFlightHead head;
    head.serial = reader.ReadUInt(1, kMaxThingSerial, "an effect's serial");
    if (!serials.insert(head.serial).second)
        reader.Fail(DRAV_ERR_BAD_DATA, "a second effect in flight of serial " + std::to_string(head.serial));
    head.target = CSavedThing::Read(reader, targets, "an effect's target");
    // It flies on a straight line between points of the grid.
    head.x = reader.ReadDouble(0.0, area.GetColumns() * kCellSize, "an effect's place east");
    head.y = reader.ReadDouble(0.0, area.GetRows() * kCellSize, "an effect's place south");
    head.z = reader.ReadDouble(std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max(),
                               "an effect's height");
    head.speed = reader.ReadDouble(std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                                   "an effect's speed");
    head.heading = reader.ReadDouble(-kFullTurn, kFullTurn, "an effect's heading");
    head.done = reader.ReadBool();
    head.source = ReadShownName(reader, kActorNameLimit, "an effect's sender");
    head.fromParty = reader.ReadBool();
    return head;
}

// The effect placed as saved; false when its target actor is gone.
bool Place(const DRAVCommon::CDataFileReader& reader, const CFlightHead& head, const CGame& game, CArea& area,
           ThingId& target) {
    if (!head.target.Find(game, {&area}, target)) {
        if (head.target.GetForm() == SAVED_ACTOR) return false;
        reader.Fail(DRAV_ERR_BAD_DATA, "an effect in flight aims at a cell off the grid of area \"" +
                                           area.GetName() + "\"");
    }
    return (target >> 24) != THING_ACTOR || area.FindActor(target);
}

void Finish(const CFlightHead& head, CEffect& effect, CArea& area) {
    effect.SetPosition(area, head.x, head.y, head.z);
    effect.SetSpeed(head.speed);
    effect.SetHeading(head.heading);
    if (head.done) effect.SetDone();
}

ThingId EffectId(std::uint32_t serial) {
    ThingId id = 0;
    MakeThingId(id, THING_EFFECT, serial);
    return id;
}

void ReadMissile(DRAVCommon::CDataFileReader& reader, CGame& game, CArea& area, const CModule& module,
                 std::set<std::uint32_t>& serials) {
    reader.BeginBlock("missile");
    const CFlightHead head = ReadHead(reader, area, SAVED_ACTOR, serials);
    std::string visual = reader.ReadWordOrEmpty();
    RequireSavedWord(reader, visual, "a missile's look");
    CAttackInfo attack;
    attack.Load(reader);
    if (attack.name.size() > kAttackNameLimit)
        reader.Fail(DRAV_ERR_BAD_DATA, "an attack's name of " + std::to_string(attack.name.size()) +
                                           " bytes is longer than the " + std::to_string(kAttackNameLimit) +
                                           " an attack's name holds");
    if (const std::string fault = NameTextFault(attack.name); !fault.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, "an attack's name " + fault);
    const CSpell* onHit = ReadSpellKey(reader, module, true);
    reader.EndBlock();
    ThingId target = 0;
    if (!Place(reader, head, game, area, target)) return;
    auto missile = std::make_shared<CEffectAttack>(EffectId(head.serial), &area, head.source, std::move(visual),
                                                   target, head.fromParty, std::move(attack), onHit);
    Finish(head, *missile, area);
    area.AddEffect(std::move(missile));
}

void ReadSpell(DRAVCommon::CDataFileReader& reader, CGame& game, CArea& area, const CModule& module,
               std::set<std::uint32_t>& serials) {
    reader.BeginBlock("spell");
    const CFlightHead head = ReadHead(reader, area, SAVED_ACTOR | SAVED_TILE, serials);
    const CSpell& spell = *ReadSpellKey(reader, module, false);
    // The caster may have gone since: the words then name nobody as herself.
    ThingId caster = 0;
    CSavedThing::Read(reader, SAVED_NOTHING | SAVED_ACTOR, "a spell's caster").Find(game, {&area}, caster);
    const bool announced = reader.ReadBool();
    std::string whose = ReadShownName(reader, kActorNameLimit, "whose spell it is");
    const std::int32_t pulses = reader.ReadInt(1, kMostPulsesTogether, "the pulses a spell stands for");
    const std::int32_t difficulty = reader.ReadInt();
    const std::int32_t hitBonus = reader.ReadInt();
    const std::int32_t casterLevel = reader.ReadInt();
    const SkillId penetration = ReadPenetration(reader);
    reader.EndBlock();
    ThingId target = 0;
    if (!Place(reader, head, game, area, target)) return;
    auto launched = std::make_shared<CEffectSpell>(EffectId(head.serial), &area, head.source, spell.GetVisualName(),
                                                   spell.GetVisualParams().get(), target, head.fromParty, &spell);
    launched->caster = caster;
    launched->announced = announced;
    launched->whose = std::move(whose);
    launched->pulses = pulses;
    launched->difficulty = difficulty;
    launched->hitBonus = hitBonus;
    launched->casterLevel = casterLevel;
    launched->penetrationSkill = penetration;
    Finish(head, *launched, area);
    area.AddEffect(std::move(launched));
}

}  // namespace

void WriteEffectsInFlight(DRAVCommon::CDataFileWriter& writer, const CGame& game) {
    const CArea* area = game.GetCurrentArea();
    writer.BeginBlock("flight");
    writer.WriteValue(game.GetEffectSerialCounter());
    for (const auto& effect : area ? area->GetEffects() : EffectList()) {
        CSavedThing target;
        // An effect whose target no save can name has nothing left to land on.
        if (!CSavedThing::Describe(effect->GetTarget(), {area}, SAVED_ACTOR | SAVED_TILE, target)) continue;
        if (const auto* missile = dynamic_cast<const CEffectAttack*>(effect.get())) {
            writer.BeginBlock("missile");
            WriteHead(writer, *missile, target);
            // A look no save can hold flies unseen after the load, and lands all the same.
            writer.WriteWordOrZero(IsSavableWord(missile->GetVisualName()) ? missile->GetVisualName() : std::string());
            missile->GetAttack().Save(writer);
            WriteSpellKey(writer, missile->GetOnHitSpell());
        } else if (const auto* launched = dynamic_cast<const CEffectSpell*>(effect.get())) {
            writer.BeginBlock("spell");
            WriteHead(writer, *launched, target);
            WriteSpellKey(writer, launched->GetSpell());
            CSavedThing caster;
            if (!CSavedThing::Describe(launched->caster, {area}, SAVED_NOTHING | SAVED_ACTOR, caster)) caster = {};
            caster.Write(writer);
            WriteBool(writer, launched->announced);
            writer.WriteQuoted(launched->whose);
            writer.WriteValue(launched->pulses);
            writer.WriteValue(launched->difficulty);
            writer.WriteValue(launched->hitBonus);
            writer.WriteValue(launched->casterLevel);
            writer.WriteWordOrZero(launched->penetrationSkill == SKILL_NONE ? std::string()
                                                                           : GetSkillKey(launched->penetrationSkill));
        } else {
            continue;
        }
        writer.EndBlock();
    }
    writer.EndBlock();
}

void ReadEffectsInFlight(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    CArea* area = game.GetCurrentArea();
    // A save with the party in no area is refused for that, whatever flies.
    if (!area) {
        reader.SkipBlock("flight");
        return;
    }
    reader.BeginBlock("flight");
    game.SetEffectSerialCounter(reader.ReadUInt(1, kMaxThingSerial + 1, "the next effect's serial"));
    std::set<std::uint32_t> serials;
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("missile")) ReadMissile(reader, game, *area, module, serials);
        else if (reader.IsBlock("spell")) ReadSpell(reader, game, *area, module, serials);
        else reader.Fail(DRAV_ERR_BAD_DATA, "expected <missile> or <spell>");
    }
    reader.EndBlock();
}

}  // namespace DRAV
