#pragma once
// The magic files of a chapter: its own and the global one, each a "magic" element
// holding a "spells" element of single spells and multispells.

#include <map>
#include <memory>
#include <string>

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "rules/magic/spell.h"

namespace DRAV {

// Reads one magic file into `spells`. A single spell whose key is already there is
// code 1; multispell instances replace what their keys held.
void ParseMagic(SpellMap& spells, DRAVCommon::CDataFileReader& reader);
// One "multispell" element: its instances, then the template spell, which must be a
// power and is not entered itself.
void ParseMultiSpell(SpellMap& spells, DRAVCommon::CDataFileReader& reader);
// Enters the sneak power, replacing any spell of its key.
void AddBuiltinPowers(SpellMap& spells);
// The file each spell was read from, for messages.
using SpellFiles = std::map<std::shared_ptr<const CSpell>, std::string>;
// Code 1 naming the key, and the file when `files` knows it, for an ongoing effect
// whose carried spell is not in `spells`.
void CheckSpellReferences(const SpellMap& spells, const SpellFiles& files = {});

// The whole load: "magic.drav" of the chapter, "global_magic.drav", the built-in
// powers, then the references between spells.
void LoadMagic(SpellMap& spells, DRAVCommon::CDataFileFactory& source);

}  // namespace DRAV
