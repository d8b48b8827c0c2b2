#pragma once
// One record per chapter of the module: where its files are, the engine made for
// it, and what its "chapter.drav" and the head of its "world.drav" say.

#include <map>
#include <memory>
#include <string>

#include "common/data_file.h"

namespace DRAV {
class CEngine;
}

class CDRAVChapterInfo {
public:
    static constexpr int kStatePresent = 4;

    CDRAVChapterInfo(int chapterNumber, int chapterCount);

    // Marks the chapter present and keeps the package first, then reads the two
    // files; reader errors (code 1) pass to the caller.
    void Load(std::shared_ptr<DRAVCommon::CDataFileFactory> package);

    // "major.minor" when the world file gave a major version other than 0.
    std::string GetVersionText() const;

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_package;
    std::shared_ptr<DRAV::CEngine> m_engine;
    int m_state = 0;
    int m_chapterNumber;
    int m_chapterCount;
    int m_startingLevel = 0;
    int m_lowestStartingLevel = 0;
    int m_highestStartingLevel = 0;
    std::string m_text1;
    std::string m_text2;
    std::string m_text3;
    std::string m_text4;
    int m_versionMajor = 0;
    int m_versionMinor = 0;
};

class ChapterInfoMap : public std::map<int, std::shared_ptr<CDRAVChapterInfo>> {
public:
    // `first` under 1 and an empty record for each later chapter of its count.
    void Init(std::shared_ptr<CDRAVChapterInfo> first);
    // Null when the table has no such chapter; the table keeps ownership.
    CDRAVChapterInfo* Find(int chapterNumber) const;
};
