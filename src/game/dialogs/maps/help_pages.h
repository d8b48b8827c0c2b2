#pragma once
// The fixed help and tutorial pages of the program: 8 tutorial pages a module
// script names by key, the main chain read by clicking the screenshot, and the
// pages of the actor sheets, the action dialog and the store.

#include <array>
#include <cstdint>
#include <string>

struct HelpPage {
    std::int32_t id;
    const char* key;
    std::int32_t pictureId;
    const char* title;
    std::string text;
    std::int32_t nextPage;
};

constexpr std::int32_t kHelpPageCount = 22;
constexpr std::int32_t kFirstHelpPicture = 85;
// Ids of the pages the game opens by itself.
constexpr std::int32_t kHelpMainStart = 8;
constexpr std::int32_t kHelpActorInfo = 16;
constexpr std::int32_t kHelpAction = 20;
constexpr std::int32_t kHelpStore = 21;

// Built once before the program starts, read-only afterwards.
extern const std::array<HelpPage, kHelpPageCount> HelpPages;

std::array<HelpPage, kHelpPageCount> InitHelpPages();
// The id of the page with exactly that key; code 6 naming the key for none.
std::int32_t FindHelpPageByKey(const std::string& key);

// The text of the help's Shortcuts page: the keys, and what the mouse and the keys
// do where a player might not guess it.
std::string BuildShortcutsText();
