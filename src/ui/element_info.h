#pragma once
// What a widget says about itself in the hover window.

#include <array>
#include <cstdint>
#include <string>

namespace DRAV {
class CActor;
class CItem;
class CItemTemplate;
class CMap2Area;
class CSpell;
class CThing;
}  // namespace DRAV

namespace DRAVUI {

enum InfoKind : std::int32_t {
    INFO_MAP_THING = 0,
    INFO_ACTION = 1,
    INFO_ABILITY = 2,
    INFO_LOCATION = 3,
    INFO_NOTHING = 4,
};

enum InfoBadge : std::size_t { BADGE_BOTTOM_LEFT = 0, BADGE_BOTTOM_RIGHT = 1, BADGE_TOP_LEFT = 2, BADGE_TOP_RIGHT = 3 };

class ElementInfo {
public:
    ElementInfo() { Clear(); }

    // Back to an empty description; the bar fractions and the subject id keep their
    // values, which only count while their flag or kind says so.
    void Clear();

    // The describers: the only code that turns game things into records. Each
    // starts by clearing the record. A race, gender, class, tile kind or school
    // outside its table is code 2.
    //
    // A tile, object, actor or item of the map; `viewer` (may be null) is the party
    // member whose usability colours an item's title.
    static void DescribeThing(ElementInfo& record, const DRAV::CThing* thing, const DRAV::CActor* viewer);
    // A kind of item, as a quick-action slot shows it.
    static void DescribeItem(ElementInfo& record, const DRAV::CItemTemplate& item);
    // An item with its price in gold.
    static void DescribeItemPrice(ElementInfo& record, const DRAV::CItem& item, std::uint32_t price,
                                  const DRAV::CActor* viewer);
    // A spell or power as `actor` knows it.
    static void DescribeAbility(ElementInfo& record, const DRAV::CSpell& spell, const DRAV::CActor& actor);
    // A place of the world map; with `noEnter` it offers no travel.
    static void DescribeLocation(ElementInfo& record, const DRAV::CMap2Area& location, bool noEnter);
    // How well the party makes the actor out: 25 for its own, its friends and any
    // actor outside a game; else its best Observation less the actor's Stealth
    // while the actor sneaks. Below 0 the actor is not known for what it is.
    static std::int32_t RecognitionMargin(const DRAV::CActor& actor);

    std::string title;
    std::uint32_t titleColour = 0xFFFFFFFF;
    std::string text;
    std::string actionHint;
    std::int32_t icon = 0;
    std::uint32_t iconColour = 0xFFFFFFFF;
    std::array<std::int32_t, 4> badges{};
    bool hasHitPointBar = false;
    double hitPointFraction = 0.0;
    bool hasEnergyBar = false;
    double energyFraction = 0.0;
    std::int32_t count = 0;
    std::int32_t kind = INFO_NOTHING;
    std::int32_t subjectId = 0;
    std::string key;
};

// Whether `actor` can use `spell` now: it has the school's skill and reaches the
// spell's level (base level + 1 + class level) or, without a level, its tier.
bool IsAbilityUsable(const DRAV::CSpell& spell, const DRAV::CActor& actor);

// 0xFF000000 with the colour's three bytes: a stored tint made opaque.
inline std::uint32_t Opaque(std::uint32_t colour) { return 0xFF000000u | (colour & 0x00FFFFFFu); }

}  // namespace DRAVUI
