#pragma once
// The parts of an applied spell: what it does to the actor's statistics, status,
// carried spells and resistances, each until its end tick.

#include <cstdint>
#include <memory>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/modifiers.h"
#include "rules/magic/spell.h"
#include "rules/vocabulary/status.h"

namespace DRAV {

enum SpellApplyPartKind : std::int32_t {
    APPLY_MODIFY = 0,
    APPLY_STATUS = 1,
    APPLY_ONGOING = 2,
    APPLY_RESIST = 3,
};

class CSpellApplyEffect {
public:
    CSpellApplyEffect(SpellApplyPartKind kind, std::uint32_t endTick) : m_kind(kind), m_endTick(endTick) {}
    virtual ~CSpellApplyEffect() = default;

    // Writes the part's element.
    virtual void Save(DRAVCommon::CDataFileWriter& writer) const = 0;

    SpellApplyPartKind GetKind() const { return static_cast<SpellApplyPartKind>(m_kind); }
    // The game tick at which the part expires; 0 never.
    std::uint32_t GetEndTick() const { return m_endTick; }
    void SetEndTick(std::uint32_t endTick) { m_endTick = endTick; }

protected:
    void BeginSave(DRAVCommon::CDataFileWriter& writer, const char* element) const;

private:
    std::int32_t m_kind;
    std::uint32_t m_endTick;
};

class CSpellApplyEffectModify : public CSpellApplyEffect {
public:
    CSpellApplyEffectModify(std::uint32_t endTick, ModifierMask mask, std::int32_t amount)
        : CSpellApplyEffect(APPLY_MODIFY, endTick), m_mask(mask), m_amount(amount) {}
    // Reads the contents after the end tick.
    CSpellApplyEffectModify(std::uint32_t endTick, DRAVCommon::CDataFileReader& reader);

    void Save(DRAVCommon::CDataFileWriter& writer) const override;

    ModifierMask GetMask() const { return m_mask; }
    std::int32_t GetAmount() const { return m_amount; }  // a penalty when negative

private:
    ModifierMask m_mask = 0;
    std::int32_t m_amount = 0;
};

class CSpellApplyEffectStatus : public CSpellApplyEffect {
public:
    CSpellApplyEffectStatus(std::uint32_t endTick, StatusKind status)
        : CSpellApplyEffect(APPLY_STATUS, endTick), m_status(status) {}

    void Save(DRAVCommon::CDataFileWriter& writer) const override;

    StatusKind GetStatus() const { return m_status; }

private:
    StatusKind m_status;
};

class CSpellApplyEffectOngoing : public CSpellApplyEffect {
public:
    // The carried spell is launched each time the ticks left before the end are one
    // more than a multiple of this.
    static constexpr std::uint32_t kPulseTicks = 300;

    // `spell` belongs to the module, which outlives every applied spell.
    CSpellApplyEffectOngoing(std::uint32_t endTick, const CSpell& spell)
        : CSpellApplyEffect(APPLY_ONGOING, endTick), m_spell(&spell) {}

    void Save(DRAVCommon::CDataFileWriter& writer) const override;

    const CSpell& GetSpell() const { return *m_spell; }

private:
    const CSpell* m_spell;
};

class CSpellApplyEffectResist : public CSpellApplyEffect {
public:
    CSpellApplyEffectResist(std::uint32_t endTick, const CDamageType& damageType, std::int32_t amount)
        : CSpellApplyEffect(APPLY_RESIST, endTick), m_damageType(damageType), m_amount(amount) {}

    void Save(DRAVCommon::CDataFileWriter& writer) const override;

    const CDamageType& GetDamageType() const { return m_damageType; }
    std::int32_t GetAmount() const { return m_amount; }

private:
    CDamageType m_damageType;
    std::int32_t m_amount = 0;
};

// Reads the part whose element opens at the current token ("effectmodify",
// "effectstatus", "effectongoing" or "effectresist"); anything else is code 1, and so
// is a carried spell that `spells` does not hold.
std::shared_ptr<CSpellApplyEffect> ReadSpellApplyEffect(DRAVCommon::CDataFileReader& reader, const SpellMap& spells);

}  // namespace DRAV
