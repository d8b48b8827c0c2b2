#include "game/load_info.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/data_file_reader.h"
#include "common/trace.h"
#include "platform/win32/file_path.h"
#include "world/save_head.h"

void CLoadInfo::ReadSaveHeader(const std::string& path) {
    DRAVCommon::CDataFileReader reader(path);
    if (!reader.IsBlock("save")) return;
    reader.BeginBlock("save");
    if (!reader.IsBlock("version")) return;
    reader.BeginBlock("version");
    // Every version is listed: one that does not fit is refused when it is loaded.
    reader.ReadWordOrEmpty();
    reader.ReadInt();
    reader.ReadInt();
    reader.EndBlock();
    if (!reader.BeginGroup(2, true)) return;
    DRAV::CSaveHead head = DRAV::ReadSaveHead(reader);
    auto item = std::make_shared<CLoadInfoItem>();
    item->m_path = path;
    item->m_chapter = head.chapter;
    item->m_chapterCompleted = head.won;
    item->m_name = std::move(head.name);
    item->m_title = std::move(head.title);
    item->m_ending = std::move(head.ending);
    m_items.push_back(std::move(item));
}

std::shared_ptr<CLoadInfo> ListSaveFolder(const std::string& folder) {
    auto info = std::make_shared<CLoadInfo>(folder);
    std::error_code error;
    std::filesystem::directory_iterator entries(Win32::NativePath(folder), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& file = entries->path();
        std::string extension = file.extension().string();
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::error_code kind;
        if (extension != ".drav" || !entries->is_regular_file(kind)) continue;
        const std::string path = folder + "\\" + file.filename().string();
        try {
            info->ReadSaveHeader(path);
        } catch (const std::exception& failure) {
            // One damaged file must not hide the games that can still be loaded.
            DRAV_TRACE(DRAVCommon::TRACE_HIGH, "skipped %s: %s\n", path.c_str(), failure.what());
        }
    }
    return info;
}
