#include "game/chapter_info.h"

#include "common/data_file_reader.h"
#include "common/exception.h"

using DRAVCommon::CDataFileReader;

CDRAVChapterInfo::CDRAVChapterInfo(int chapterNumber, int chapterCount)
    : m_chapterNumber(chapterNumber), m_chapterCount(chapterCount) {}

namespace {

void RequireGroup(CDataFileReader& reader) {
    if (!reader.BeginGroup(2, true)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a group");
}

}  // namespace

void CDRAVChapterInfo::Load(std::shared_ptr<DRAVCommon::CDataFileFactory> package) {
    m_state = kStatePresent;
    m_package = std::move(package);

    CDataFileReader chapter(*m_package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "chapter.drav");
    chapter.BeginBlock("chapter");
    RequireGroup(chapter);
    m_chapterNumber = chapter.ReadInt();
    m_chapterCount = chapter.ReadInt();
    m_startingLevel = chapter.ReadInt();
    RequireGroup(chapter);
    m_lowestStartingLevel = chapter.ReadInt();
    m_highestStartingLevel = chapter.ReadInt();
    m_text1 = chapter.ReadQuoted();
    m_text2 = chapter.ReadQuoted();
    m_text3 = chapter.ReadQuoted();
    m_text4 = chapter.ReadQuoted();
    chapter.EndBlock();

    // Only the head of the world file: the rest is the module's business.
    CDataFileReader world(*m_package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "world.drav");
    world.BeginBlock("world");
    if (world.IsBlock("version")) {
        world.BeginBlock("version");
        world.ReadWordOrEmpty();
        m_versionMajor = world.ReadInt();
        m_versionMinor = world.ReadInt();
    }
}

std::string CDRAVChapterInfo::GetVersionText() const {
    if (m_versionMajor == 0) return {};
    return std::to_string(m_versionMajor) + "." + std::to_string(m_versionMinor);
}

void ChapterInfoMap::Init(std::shared_ptr<CDRAVChapterInfo> first) {
    int count = first->m_chapterCount;
    (*this)[1] = std::move(first);
    for (int n = 2; n <= count; ++n) (*this)[n] = std::make_shared<CDRAVChapterInfo>(n, count);
}

CDRAVChapterInfo* ChapterInfoMap::Find(int chapterNumber) const {
    auto found = find(chapterNumber);
    return found == end() ? nullptr : found->second.get();
}
