#pragma once
// Chapter pictures ("thumb.jpg", "chapter.jpg", "next.jpg") read for a page. A
// picture that is missing or does not decode gives an empty picture of the same
// size, so a broken chapter package never keeps a page from being built.

#include <memory>
#include <string>

#include "common/data_file.h"
#include "ui/ui_config.h"

namespace DRAVUI {
class CUIElement;
}

// The file's bytes when it reads and decodes as an image, else null.
std::shared_ptr<DRAVCommon::ByteVector> ReadChapterPicture(DRAVCommon::CDataFileFactory* package,
                                                           const std::string& name,
                                                           DRAVCommon::DataFileKind kind = DRAVCommon::DFK_CHAPTER);
// A picture widget (id 0) of the file, or an empty one.
std::shared_ptr<DRAVUI::CUIElement> MakeChapterPicture(std::shared_ptr<DRAVUI::CUIConfig> config,
                                                       DRAVCommon::CDataFileFactory* package, const std::string& name,
                                                       DRAVCommon::DataFileKind kind = DRAVCommon::DFK_CHAPTER);
