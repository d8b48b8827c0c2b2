#include "game/dialogs/maps/help_pages.h"

#include "common/exception.h"
#include "game/dialogs/dialog.h"
#include "ui/product_title.h"

namespace {

constexpr std::int32_t kNone = kHelpPageCount;

constexpr const char* kShortcutText =
    " LINE LINE Keyboard shortcuts: LINE LINE Spacebar - Pause/unpause. LINE ESC - Clear orders. LINE TAB - Tabs "
    "selection through party actors. LINE ENTER - Game menu. LINE CTRL - Show markup. LINE SHIFT - Append actions to "
    "the end of the current actions (instead of overwriting); while the game is paused every click appends. LINE "
    "1 - n - Select party actor. LINE 0 - Select whole party. LINE F1 - F10 - Select action of the one actor "
    "selected (nothing while the whole party is selected). LINE n - Actor info. LINE i - Actor inventory. LINE b - Abilities. LINE j - "
    "Journal. LINE m - Map. LINE w - World Map. LINE g - Messages. LINE x - Exit. LINE r - Return. LINE f - Turn "
    "fastmove on/off. LINE v - Change sound volume. LINE ? - Display help. LINE LINE In a conversation: 1 - 9 choose "
    "a reply; ESC and ENTER take the reply when there is only one, and with several replies only a reply ends the "
    "talk. LINE LINE A right-click on a button counts as a click: a right-click on Exit leaves as a click does. LINE ";

}  // namespace

std::array<HelpPage, kHelpPageCount> InitHelpPages() {
    const std::string hover = GetHoverVerb();
    const std::string click = GetClickVerb();
    const std::string rightClick = GetRightClickVerb();

    const std::array<std::string, kHelpPageCount> bodies = {
        // 0
        "Welcome to GAMENAME LINE LINE The game area is the centre of the screen, where your party explores. " +
            click + " a spot in it to move your actor there. " + click +
            " the '?' at any time to bring this help back.",
        // 1
        hover + " over anything in the game area and what it is shows at the top left of the screen. " + click +
            " a person or a thing to act on it, and " + rightClick + " it to see its details.",
        // 2
        "You have been given a quest. Every quest you take is written down: " + rightClick +
            " your actor, then choose 'Journal' to read what is asked of you.",
        // 3
        "You have found items. " + rightClick +
            " your actor, then choose 'Inventory' to see them. Drag an item onto the paperdoll to wield or wear "
            "it, or drag it to the ground to drop it.",
        // 4
        "You have found potions. " + click +
            " the action button and select the potion in the action dialog. Your actor drinks it as soon as you "
            "return to the main view, which is the quickest help in a fight.",
        // 5: a tutorial raised as someone joins shows once the talk is over, when
        // the newcomer already walks with the party: it says what has happened.
        "Someone has joined your party. " + click +
            " one member's portrait to control only that actor, or the party button to control everyone at "
            "once. To part with a member, talk to that member and ask them to leave the party.",
        // 6: party members do only what they are told; one without an order stands,
        // even when struck.
        "A battle is about to begin. Wield any weapon and wear any armour your actors carry first. " + click +
            " the pause button to stop the fight at any moment, give each actor its orders, then unpause to "
            "watch them carried out. " + click + " an enemy to attack it, and the actors you chose fight it "
            "until it falls; a spell chosen on the action bar is cast at it once. An actor you have given no "
            "order does not fight back, even when struck: give every one of them a target.",
        // 7
        "That is the end of the tutorial. LINE LINE There is more to find: " + rightClick +
            " your actors to open their sheets, and try the controls around the game area, each tells what it "
            "does when you hover over it. Whenever you are unsure, the '?' brings the help back.",
        // 8
        "In GAMENAME the game area fills the centre of the screen and the controls stand around it. The people "
        "and monsters you meet are actors. Actors under your control are marked with a green circle, and each of "
        "them has a control beside the game area with a useful display of its health and actions.",
        // 9
        "Most of the time your actors do the obvious thing with whatever you point at: the default action. LINE "
        "1) " + click + " your actor. LINE 2) " + click +
            " the target: the ground to walk, an enemy to attack, a person to talk to. LINE 3) ESC cancels.",
        // 10
        "The whole party can act at once. LINE 1) " + click + " the party button. LINE 2) " + click +
            " the target, and every member goes for it.",
        // 11
        "You can talk with the members of your own party. LINE 1) Select your main actor. LINE 2) " + click +
            " the talk button. LINE 3) " + click + " the party member you want to talk to.",
        // 12: a click while paused adds to the orders rather than replacing them.
        click + " the pause button to pause the game. While it is paused, every click adds an order after those "
            "the actor already has, as Shift does while the game runs, so several clicks give an actor several "
            "orders in turn; a click on the selected actor's portrait cancels all its actions. Pause works in the "
            "middle of combat too, which is where it helps the most.",
        // 13
        "Actors can do more than the default action. LINE 1) Select the actor. LINE 2) " + click +
            " the action button. LINE 3) Choose the action in the dialog. LINE 4) " + click +
            " the target if the action needs one. LINE The 6 quick action buttons do the same in one step. LINE "
            "Actions belong to one actor: with the whole party selected the F-keys and the quick action buttons "
            "do nothing.",
        // 14: a member who falls while another stands stays fallen until the
        // party rests, so the page says where a rest is had.
        "Minor injuries heal with healing spells or potions. All injuries, death included, heal when the party "
        "rests in a bed or at an inn, or with the help of a friendly priest: ask an innkeeper for a room, and "
        "speak for the party with any member still standing. A party whose members have all fallen rests too, "
        "and wakes where its chapter began.",
        // 15
        "That is all the help there is here. " + click +
            " the 'Manual' button below to open the game manual with the full rules. LINE LINE Enjoy GAMENAME !",
        // 16
        "1) " + hover + " a field for quick information. LINE 2) " + rightClick + " a field to view the manual.",
        // 17
        "1) " + hover + " an item for quick information. LINE 2) " + rightClick +
            " it for its details. LINE 3) Drag and drop it to move it. LINE 4) Drag it to an action button to "
            "ready it. LINE 5) Drag it to another actor to give it away.",
        // 18
        "Get information about progress on your adventure.",
        // 19
        "1) " + hover + " a spell or power for quick information. LINE 2) " + rightClick +
            " it for its details. LINE 3) Drag it to an action button to ready it.",
        // 20
        "1) " + hover + " an entry for quick information. LINE 2) " + rightClick + " it for its details. LINE 3) " +
            click + " a spell, power or item and then " + click +
            " Done to use it; an item named in red is one the actor cannot use: clicking it chooses nothing.",
        // 21
        "1) " + hover + " an item for quick information. LINE 2) " + rightClick +
            " it for its details. LINE 3) Drag and drop items to buy or sell them; an item the party cannot afford, "
            "or one the keeper does not buy, does not move. LINE ",
    };

    struct Row {
        const char* key;
        const char* title;
        std::int32_t next;
    };
    static constexpr Row rows[kHelpPageCount] = {
        {"tutorial_start", "Tutorial - Welcome", kNone},   {"tutorial_inspect", "Tutorial - Inspect", kNone},
        {"tutorial_quest", "Tutorial - Quest", kNone},     {"tutorial_items", "Tutorial - Items", kNone},
        {"tutorial_potions", "Tutorial - Potions", kNone}, {"tutorial_party", "Tutorial - Party", kNone},
        {"tutorial_combat", "Tutorial - Combat", kNone},   {"tutorial_done", "Tutorial - Finished", kNone},
        {"main_start", "Actors", 9},                       {"main_default", "Default Action", 10},
        {"main_party", "Party", 11},                       {"main_party2", "Party 2", 12},
        {"main_pause", "Pause", 13},                       {"main_actions", "Actions", 14},
        {"main_injury", "Injuries", 15},                   {"main_end", "Help End", kNone},
        {"actor_info", "Information", kNone},              {"actor_inventory", "Inventory", kNone},
        {"actor_journal", "Journal", kNone},               {"actor_abilities", "Abilities", kNone},
        {"action", "Action Dialog", kNone},                {"store", "Store Dialog", kNone},
    };

    std::array<HelpPage, kHelpPageCount> pages;
    for (std::int32_t id = 0; id < kHelpPageCount; ++id)
        pages[id] = HelpPage{id, rows[id].key, kFirstHelpPicture + id, rows[id].title, bodies[id], rows[id].next};
    return pages;
}

const std::array<HelpPage, kHelpPageCount> HelpPages = InitHelpPages();

std::int32_t FindHelpPageByKey(const std::string& key) {
    for (const HelpPage& page : HelpPages)
        if (key == page.key) return page.id;
    throw CDRAVException(DRAV_ERR_SCRIPT, "No help page has the key \"" + key + "\".");
}

std::string BuildShortcutsText() { return GetProductTitle() + kShortcutText; }
