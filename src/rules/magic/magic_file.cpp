#include "rules/magic/magic_file.h"

#include <memory>
#include <vector>

#include "common/exception.h"
#include "rules/magic/spell_effects_conjure.h"

namespace DRAV {

void ParseMagic(SpellMap& spells, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("magic");
    reader.BeginBlock("spells");
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("spell")) {
            auto spell = std::make_shared<CSpell>(reader);
            if (!spells.emplace(spell->GetKey(), spell).second)
                throw CDRAVException(DRAV_ERR_BAD_DATA,
                                     reader.GetSourceName() + ": spell \"" + spell->GetKey() + "\" is defined twice");
        } else if (reader.IsBlock("multispell")) {
            ParseMultiSpell(spells, reader);
        } else {
            reader.Fail(DRAV_ERR_BAD_DATA, "expected <spell> or <multispell>");
        }
    }
    reader.EndBlock();
    reader.EndBlock();
}

void ParseMultiSpell(SpellMap& spells, DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("multispell");
    std::vector<CSpellInstance> instances;
    while (reader.IsBlock("instance")) instances.emplace_back().Read(reader);
    CSpell body(reader);
    if (!body.HasFlag(SPELL_POWER))
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             reader.GetSourceName() + ": multispell \"" + body.GetKey() + "\" is not a power");
    for (std::size_t i = 0; i < instances.size(); ++i) {
        std::shared_ptr<CSpell> spell;
        try {
            spell = CSpell::MakeInstance(static_cast<std::int32_t>(i), instances[i], body);
        } catch (const CDRAVException& error) {
            throw CDRAVException(error.GetCode(), reader.GetSourceName() + ": " + error.GetMessage());
        }
        spells.insert_or_assign(spell->GetKey(), spell);
    }
    reader.EndBlock();
}

void AddBuiltinPowers(SpellMap& spells) {
    std::shared_ptr<CSpell> sneak = MakeSneakPower();
    spells.insert_or_assign(sneak->GetKey(), sneak);
}

void CheckSpellReferences(const SpellMap& spells, const SpellFiles& files) {
    for (const auto& [key, spell] : spells) {
        for (const std::shared_ptr<CSpellEffect>& effect : spell->GetEffects()) {
            if (effect->GetKind() != EFFECT_ONGOING) continue;
            const std::string& carried = static_cast<const CSpellEffectOngoing&>(*effect).GetSpellKey();
            if (FindSpell(spells, carried)) continue;
            const auto file = files.find(spell);
            throw CDRAVException(DRAV_ERR_BAD_DATA, (file == files.end() ? std::string() : file->second + ": ") +
                                                        "spell \"" + key + "\" carries the unknown spell \"" +
                                                        carried + "\"");
        }
    }
}

void LoadMagic(SpellMap& spells, DRAVCommon::CDataFileFactory& source) {
    SpellFiles files;
    for (auto [kind, name] : {std::pair{DRAVCommon::DFK_CHAPTER, "magic.drav"},
                              std::pair{DRAVCommon::DFK_GLOBAL, "global_magic.drav"}}) {
        DRAVCommon::CDataFileReader reader(source, kind, DRAVCommon::DFS_NONE, name);
        ParseMagic(spells, reader);
        reader.RequireEnd();
        // Spells the file added or replaced are new objects; earlier ones keep their file.
        for (const auto& entry : spells) files.emplace(entry.second, reader.GetSourceName());
    }
    AddBuiltinPowers(spells);
    CheckSpellReferences(spells, files);
}

}  // namespace DRAV
