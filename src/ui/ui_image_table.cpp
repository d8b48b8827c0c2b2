#include "ui/ui_image_table.h"

#include <array>

#include "common/exception.h"
#include "rules/kinds/item_kinds.h"

namespace DRAVUI {
namespace {

constexpr std::array<const char*, kUiImageCount> kBaseNames = {
    "",
    "ui_button_192x32", "ui_button_64x64", "ui_button_64x32", "ui_button_32x32", "ui_button_off64",
    "ui_buttonsel_off_64x64", "ui_buttonsel_64x64", "ui_buttonsel_64x32", "ui_paperdoll", "icon_scrollbar32",
    "icon_check32", "icon_armor32", "icon_shield32", "icon_helmet32", "icon_amulet32",
    "icon_ring32", "icon_potion32", "icon_scroll32", "icon_wand32", "icon_inv32",
    "icon_money32", "icon_light_blade32", "icon_heavy_blade32", "icon_staff32", "icon_bludgeon32",
    "icon_axe32", "icon_bow32", "icon_dead32", "icon_human32", "icon_elf32",
    "icon_dwarf32", "icon_skeleton32", "icon_orc32", "icon_goblin32", "icon_snakeman32",
    "icon_demon32", "icon_jotun32", "icon_surtr32", "icon_norn32", "icon_shadow32",
    "icon_aesir32", "icon_outsider32", "icon_construct32", "icon_male16", "icon_female16",
    "icon_none16", "icon_status16", "icon_effectboth16", "icon_effectplus16", "icon_effectminus16",
    "icon_fighter16", "icon_rogue16", "icon_spellcaster16", "icon_monster16", "icon_sneak32",
    "icon_singing32", "icon_power32", "icon_void32", "icon_matter32", "icon_energy32",
    "icon_spirit32", "icon_elemental32", "icon_cosmic32", "icon_life32", "icon_high32",
    "icon_talk32", "icon_attack32", "icon_clock64", "icon_paused64", "icon_fastmoveon32",
    "icon_fastmoveoff32", "icon_level32", "icon_party32", "icon_return32", "icon_run32",
    "icon_pause32", "icon_help32", "icon_exit32", "icon_reverse32", "icon_inspect32",
    "icon_action32", "icon_paperdoll32", "orvex-728x180", "purchase64", "help_tutorialstart",
    "help_tutorialinspect", "help_tutorialquest", "help_tutorialitems", "help_tutorialpotions", "help_tutorialparty",
    "help_tutorialcombat", "help_tutorialend", "help_mainstart", "help_maindefault", "help_mainparty",
    "help_mainparty2", "help_mainpause", "help_mainactions", "help_maininjury", "help_mainend",
    "help_actorinfo", "help_actorinv", "help_actorjournal", "help_actorab", "help_action",
    "help_store", "death-256x480",
};

// The logo, the help pictures and the death picture are opaque JPEGs; the rest are PNGs with alpha.
bool IsJpeg(int id) { return id == 83 || id >= 85; }

}  // namespace

void GetUiImageName(int id, std::string& base, std::string& extension) {
    if (id < 0 || id >= kUiImageCount)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "UI image " + std::to_string(id) + " is not in the image table");
    base = kBaseNames[static_cast<std::size_t>(id)];
    extension = id == 0 ? "" : IsJpeg(id) ? "jpg" : "png";
}

int ItemKindIcon(int kind) {
    constexpr int kArmorIcon = 12;
    if (kind == DRAV::ITEM_WEAPON) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE);
    if (kind < DRAV::ITEM_ARMOR || kind > DRAV::ITEM_MONEY) throw CDRAVException(DRAV_ERR_UNEXPECTED);
    return kArmorIcon + (kind - DRAV::ITEM_ARMOR);
}

int WeaponTypeIcon(int type) {
    constexpr int kLightBladeIcon = 22;
    if (type < DRAV::WEAPON_LIGHT_BLADE || type > DRAV::WEAPON_BOW) throw CDRAVException(DRAV_ERR_UNEXPECTED);
    return kLightBladeIcon + (type - DRAV::WEAPON_LIGHT_BLADE);
}

}  // namespace DRAVUI
