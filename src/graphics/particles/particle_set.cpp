#include "graphics/particles/particle_set.h"

#include <SDL.h>
#include <SDL_image.h>

#include <vector>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/graphic_colors.h"
#include "common/sdl_init.h"
#include "graphics/sdl_handles.h"

namespace DRAVGraph {
namespace {

const char* const kParticleFile = "particles.drav";

struct ParticleRecord {
    std::string name;
    std::string image;
    CGraphicColors colours;
};

std::vector<ParticleRecord> ReadParticleRecords(DRAVCommon::CDataFileFactory& source) {
    DRAVCommon::CDataFileReader reader(source, DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_NONE, kParticleFile);
    std::vector<ParticleRecord> records;
    while (reader.IsBlock("particle")) {
        // Cells past the last one would lie outside the atlas.
        if (records.size() == static_cast<std::size_t>(kMaxParticleCells))
            reader.Fail(DRAV_ERR_BAD_DATA, "at most " + std::to_string(kMaxParticleCells) + " particles");
        reader.BeginBlock("particle");
        ParticleRecord record;
        record.name = reader.ReadWordOrEmpty();
        record.image = reader.ReadQuoted();
        reader.BeginBlock("color");
        for (auto index : {CGraphicColors::HAIR, CGraphicColors::SKIN, CGraphicColors::TRIM}) {
            std::uint32_t colour = 0;
            reader.ReadColour(colour);
            record.colours.SetColor(index, colour & 0xFFFFFFu);
        }
        reader.EndBlock();
        reader.EndBlock();
        records.push_back(std::move(record));
    }
    return records;
}

void PlaceImage(SDL_Surface* atlas, const DRAVCommon::ByteVector& bytes, const SDL_Rect& cell) {
    DRAVCommon::RWopsPtr stream(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())));
    if (!stream) throw DRAVSDL::CSDLException();
    DRAVCommon::SurfacePtr image(IMG_Load_RW(stream.get(), 0));
    if (!image) throw DRAVSDL::CSDLException();
    // The image's alpha is copied into the cell, not blended over it.
    if (SDL_SetSurfaceBlendMode(image.get(), SDL_BLENDMODE_NONE) < 0) throw DRAVSDL::CSDLException();
    SDL_Rect target = cell;
    if (SDL_UpperBlitScaled(image.get(), nullptr, atlas, &target) < 0) throw DRAVSDL::CSDLException();
}

}  // namespace

ParticleSet LoadParticleSet(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source) {
    std::vector<ParticleRecord> records = ReadParticleRecords(source);

    DRAVCommon::PixelFormatPtr format(SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888));
    if (!format) throw DRAVSDL::CSDLException();
    DRAVCommon::SurfacePtr atlas(SDL_CreateRGBSurface(0, kParticleAtlasSize, kParticleAtlasSize, format->BitsPerPixel,
                                          format->Rmask, format->Gmask, format->Bmask, format->Amask));
    if (!atlas) throw DRAVSDL::CSDLException();

    ParticleSet set;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int cell = static_cast<int>(i);
        const SDL_Rect rect{kParticleCellSize * (cell % kParticleCellsPerRow),
                            kParticleCellSize * (cell / kParticleCellsPerRow), kParticleCellSize, kParticleCellSize};
        try {
            auto bytes = source.ReadAll(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_TEX, records[i].image);
            PlaceImage(atlas.get(), *bytes, rect);
        } catch (const CDRAVException& error) {
            // The set names the image, so the set is where a module's author looks.
            const std::string setFile =
                DRAVCommon::DescribeDataFile(DRAVCommon::DFK_EFFECT, DRAVCommon::DFS_NONE, kParticleFile);
            throw CDRAVException(error.GetCode(),
                                 setFile + ": particle \"" + records[i].name + "\", image \"" + records[i].image +
                                     "\": " + error.GetMessage(),
                                 error.GetReason());
        }
        DRAVCommon::RecolourSurface(atlas.get(), &rect, records[i].colours);
        // A later particle of the same name takes the name; the earlier cell stays, unnamed.
        set.names[records[i].name] = cell;
    }
    set.atlas = DRAVCommon::CreateTextureFromSurface(device, atlas.get());
    return set;
}

}  // namespace DRAVGraph
