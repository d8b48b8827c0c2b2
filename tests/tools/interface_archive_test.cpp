#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "common/data_file_packed.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"
#include "ui/ui_image_table.h"
#include "ui_images/ui_image_palette.h"

using namespace DRAVCommon;
namespace P = QuillmereTools::UiPalette;

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

// Decoded to RGBA bytes, whatever format the file had.
SurfacePtr Decode(const ByteVector& bytes) {
    SDL_Surface* decoded = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (!decoded) return SurfacePtr(nullptr, SDL_FreeSurface);
    SurfacePtr owned(decoded, SDL_FreeSurface);
    return SurfacePtr(SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0), SDL_FreeSurface);
}

std::uint32_t Pixel(const SDL_Surface& surface, int x, int y) {
    return static_cast<const std::uint32_t*>(surface.pixels)[y * surface.pitch / 4 + x];
}

// The size an image's name promises: "..._<w>x<h>" or "...<n>" for n x n; the two
// kinds of picture whose names say nothing have the palette's sizes.
std::pair<int, int> NamedSize(const std::string& base) {
    if (base == "ui_paperdoll") return {P::kPaperdollWidth, P::kPaperdollHeight};
    if (base.rfind("help_", 0) == 0) return {P::kHelpWidth, P::kHelpHeight};
    std::size_t digits = base.find_last_not_of("0123456789") + 1;
    int last = std::stoi(base.substr(digits));
    if (base[digits - 1] != 'x') return {last, last};
    std::size_t first = base.find_last_not_of("0123456789", digits - 2) + 1;
    return {std::stoi(base.substr(first, digits - 1 - first)), last};
}

std::shared_ptr<ByteVector> ReadUi(CDataFileFactory& source, int id) {
    std::string base, extension;
    DRAVUI::GetUiImageName(id, base, extension);
    return source.ReadAll(DFK_UI, DFS_NONE, base + "." + extension);
}

}  // namespace

TEST(InterfaceArchive, HoldsEveryTableImageDecodingToItsSize) {
    auto archive = CDataFileFactoryPacked::FromPath(QuillmereTest::SampleInterfaceArchivePath());
    // The images and the font, nothing else, all of kind "ui".
    ASSERT_EQ(archive->GetIndex().size(), static_cast<std::size_t>(DRAVUI::kUiImageCount));
    for (const PackedEntry& entry : archive->GetIndex()) {
        EXPECT_EQ(entry.kind, DFK_UI) << entry.name;
        EXPECT_EQ(entry.subkind, DFS_NONE) << entry.name;
    }
    for (int id = 1; id < DRAVUI::kUiImageCount; ++id) {
        std::string base, extension;
        DRAVUI::GetUiImageName(id, base, extension);
        SCOPED_TRACE(base + "." + extension);
        auto bytes = archive->ReadAll(DFK_UI, DFS_NONE, base + "." + extension);
        ASSERT_GT(bytes->size(), 4u);
        if (extension == "jpg") EXPECT_EQ((*bytes)[0] << 8 | (*bytes)[1], 0xFFD8);
        else EXPECT_EQ(std::string(bytes->begin() + 1, bytes->begin() + 4), "PNG");
        SurfacePtr image = Decode(*bytes);
        ASSERT_TRUE(image) << IMG_GetError();
        auto [width, height] = NamedSize(base);
        EXPECT_EQ(image->w, width);
        EXPECT_EQ(image->h, height);
    }
}

TEST(InterfaceArchive, CarriesTheInterfaceFontUnchanged) {
    auto archive = QuillmereTest::SampleInterfaceSource();
    std::ifstream font(QUILLMERE_UI_FONT, std::ios::binary);
    ASSERT_TRUE(font) << QUILLMERE_UI_FONT;
    ByteVector expected((std::istreambuf_iterator<char>(font)), std::istreambuf_iterator<char>());
    EXPECT_EQ(*archive->ReadAll(DFK_UI, DFS_NONE, "OpenSans-Regular.ttf"), expected);
    EXPECT_DRAV_CODE(archive->ReadAll(DFK_GLOBAL, DFS_NONE, "OpenSans-Regular.ttf"), 1);
}

// Screen tests find a hovered button and a ticked box by these colours.
TEST(InterfaceArchive, HoverFacesAndCrossShowThePaletteColours) {
    auto archive = QuillmereTest::SampleInterfaceSource();
    for (int id : {1, 2, 3, 4}) {
        SurfacePtr face = Decode(*ReadUi(*archive, id));
        ASSERT_TRUE(face);
        const int b = P::kButtonFaceBorder, w = face->w, h = face->h;
        SCOPED_TRACE(id);
        for (auto [x, y] : {std::pair{w / 2, h / 2}, {b, b}, {w - b - 1, h - b - 1}, {b, h - b - 1}})
            EXPECT_EQ(Pixel(*face, x, y), P::kButtonHoverFill) << x << "," << y;
        EXPECT_NE(Pixel(*face, b - 1, h / 2), P::kButtonHoverFill);
        EXPECT_NE(Pixel(*face, w / 2, 0), P::kButtonHoverFill);
    }

    SurfacePtr cross = Decode(*ReadUi(*archive, 11));
    ASSERT_TRUE(cross);
    float unit = static_cast<float>(cross->w) / 32;
    int solid = 0;
    for (int y = 0; y < cross->h; ++y)
        for (int x = 0; x < cross->w; ++x) {
            float dx = (x + 0.5f) / unit - 16, dy = (y + 0.5f) / unit - 16;
            if (std::sqrt(dx * dx + dy * dy) > P::kCrossSolidRadius) continue;
            EXPECT_EQ(Pixel(*cross, x, y), P::kCrossMark) << x << "," << y;
            ++solid;
        }
    EXPECT_GE(solid, 36);
    EXPECT_EQ(Pixel(*cross, 0, 0) >> 24, 0u) << "the cross's ground is clear";
    EXPECT_EQ(Pixel(*cross, cross->w - 2, cross->h - 2) >> 24, 0u);
}

// Image 11 closes the character sheet and cancels the character being made: it must
// not read as "Done". A tick is green and leans one way; this mark is neither.
TEST(InterfaceArchive, TheCloseAndCancelIconIsNoTick) {
    SurfacePtr icon = Decode(*ReadUi(*QuillmereTest::SampleInterfaceSource(), 11));
    ASSERT_TRUE(icon);
    const int w = icon->w, h = icon->h;
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = Pixel(*icon, x, y);
            if ((p >> 24) < 0x80) continue;
            ++opaque;
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            EXPECT_FALSE(g > r + 24 && g > b + 24) << "green at " << x << "," << y;
            // The same mirrored left to right and top to bottom, which no tick is.
            for (auto [mx, my] : {std::pair{w - 1 - x, y}, {x, h - 1 - y}})
                EXPECT_GE(Pixel(*icon, mx, my) >> 24, 0x40u) << x << "," << y << " has no mirror image";
        }
    EXPECT_GT(opaque, w * h / 5);
    // Strokes reach all four corners' way.
    for (auto [x, y] : {std::pair{9, 9}, {22, 9}, {9, 22}, {22, 22}}) EXPECT_EQ(Pixel(*icon, x, y) >> 24, 0xFFu) << x << "," << y;
}

TEST(UiImageTable, NamesRowsAndRefusesIdsOutsideIt) {
    std::string base = "x", extension = "x";
    DRAVUI::GetUiImageName(0, base, extension);
    EXPECT_EQ(base, "");
    EXPECT_EQ(extension, "");
    DRAVUI::GetUiImageName(83, base, extension);
    EXPECT_EQ(base + "." + extension, "orvex-728x180.jpg");
    DRAVUI::GetUiImageName(84, base, extension);
    EXPECT_EQ(base + "." + extension, "purchase64.png");
    EXPECT_DRAV_CODE(DRAVUI::GetUiImageName(-1, base, extension), 2);
    EXPECT_DRAV_CODE(DRAVUI::GetUiImageName(DRAVUI::kUiImageCount, base, extension), 2);
}
