#pragma once
// What an actor may be called. The player names the hero on the name page; every
// other actor takes the names its monster definition gives. A saved game holds no
// name that neither could have given, and the hero's name is the name of her save's
// file, which the load page must find again.

#include <cstddef>
#include <string>

#include "script/script_limits.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

// The most characters the name page takes. It types only letters, digits, blanks,
// hyphens and underscores, a byte each, so this is a bound in bytes too.
constexpr std::size_t kHeroNameLimit = 32;
// A monster's name and its description, as a module gives them: the bound of a
// text the module's author hands the game in one piece. The sample's longest
// description has under a hundred bytes.
constexpr std::size_t kActorNameLimit = kScriptTextLimit;

// A name or description a monster definition gives, an object's name, which
// names a trap's lasting harms as their caster, a spell's or an item's name,
// which names the harms they give: code 1 naming the file and `what` past
// kActorNameLimit bytes, holding a NUL or not UTF-8. A saved game holds no longer
// name, nor any text with such bytes.
std::string KeptName(const DRAVCommon::CDataFileReader& reader, std::string name, const char* what);

// True when `name` holds a letter or a digit, without which the name page takes no name.
bool HasLetterOrDigit(const std::string& name);

// Why `name` is no name the name page gives, said of it ("is empty", "is not
// UTF-8"), or "" for one it may give.
std::string HeroNameFault(const std::string& name);

}  // namespace DRAV
