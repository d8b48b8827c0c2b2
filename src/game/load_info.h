#pragma once
// The saved games of the save folder as the load dialog and the name page list
// them, read from each file's opening without loading the game.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLoadInfoItem {
public:
    std::string m_path;   // where the file was found, not where it was written
    std::string m_name;   // the lead character's name
    std::string m_title;  // the row's label
    std::string m_ending;  // a won chapter's closing text, empty when the save has none
    std::int32_t m_chapter = 0;
    bool m_chapterCompleted = false;
};

class CLoadInfo {
public:
    explicit CLoadInfo(std::string folder = {}) : m_folder(std::move(folder)) {}

    // Appends a row when the file opens as a saved game. Created characters and
    // other files add nothing; a damaged header is reported as the reader's failure.
    void ReadSaveHeader(const std::string& path);

    std::string m_folder;
    std::vector<std::shared_ptr<CLoadInfoItem>> m_items;
};

// Every ".drav" file of `folder` (backslashes allowed) in the order the folder
// gives them; a file that cannot be read or whose header is damaged is left out.
std::shared_ptr<CLoadInfo> ListSaveFolder(const std::string& folder);
