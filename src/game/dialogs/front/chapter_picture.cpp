#include "game/dialogs/front/chapter_picture.h"

#include <SDL.h>
#include <SDL_image.h>

#include "ui/ui_image.h"

std::shared_ptr<DRAVCommon::ByteVector> ReadChapterPicture(DRAVCommon::CDataFileFactory* package,
                                                           const std::string& name, DRAVCommon::DataFileKind kind) {
    if (!package) return nullptr;
    std::shared_ptr<DRAVCommon::ByteVector> bytes;
    try {
        bytes = package->ReadAll(kind, DRAVCommon::DFS_NONE, name);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!bytes || bytes->empty()) return nullptr;
    // Decoded once here so that a damaged file fails now, not when the page is
    // realized for the device.
    SDL_RWops* stream = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (!stream) return nullptr;
    SDL_Surface* surface = IMG_Load_RW(stream, 1);
    if (!surface) return nullptr;
    SDL_FreeSurface(surface);
    return bytes;
}

std::shared_ptr<DRAVUI::CUIElement> MakeChapterPicture(std::shared_ptr<DRAVUI::CUIConfig> config,
                                                       DRAVCommon::CDataFileFactory* package, const std::string& name,
                                                       DRAVCommon::DataFileKind kind) {
    if (auto bytes = ReadChapterPicture(package, name, kind)) return std::make_shared<DRAVUI::CUIImage>(config, bytes);
    return std::make_shared<DRAVUI::CUIImage>(config, 0, 0);
}
