#pragma once
// How many thing serials building an area can take, known before the party sets
// out for it: a journey is made only while the game has that many left.

#include <cstdint>
#include <string>

namespace DRAV {

class CModule;

// The most serials any build of area `areaName` takes, read from its file: every
// object with its items, every exit's marker, and every monster of every stage of
// every encounter with the items it carries and the stock of the store it opens,
// in the file and in all its patches, as though all of them were made. Piles come
// from what the game keeps of the area and are not counted. A file the module
// lacks or cannot read fails as the area's own load would.
std::uint64_t MostSerialsABuildTakes(const CModule& module, const std::string& areaName);

}  // namespace DRAV
