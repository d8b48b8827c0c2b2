// Every model and texture the build adds to the sample module loads from the packed
// chapter, each part with the image its model file names.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/data_file_memory.h"
#include "graphics/model_node.h"
#include "platform/d3d9/recording_device.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;
namespace fs = std::filesystem;

// The texture each material names, in file order; "" for a plain material.
std::vector<TextureEntry> EntriesNamedIn(const std::string& text) {
    std::vector<TextureEntry> entries;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Material ", 0) == 0) entries.push_back({"", 0x808080, 1.0});
        const auto texture = line.find("TextureFilename { \"");
        if (texture != std::string::npos && !entries.empty()) {
            const auto start = texture + 19;
            entries.back().name = line.substr(start, line.find('"', start) - start);
        }
    }
    return entries;
}

TEST(SampleModels, EveryModelLoadsFromTheArchiveWithTheTexturesItNames) {
    auto device = D3D9Layer::CRecordingDevice::Create(64, 64);
    DRAVCommon::CXPDevice xp(device.get());
    auto archive = QuillmereTest::SampleArchiveSource();
    int models = 0, textures = 0;
    for (DRAVCommon::DataFileKind kind :
         {DRAVCommon::DFK_ACTOR, DRAVCommon::DFK_ITEM, DRAVCommon::DFK_OBJECT, DRAVCommon::DFK_TILE}) {
        const fs::path folder = fs::path(QuillmereTest::SampleFolderRoot()) / DRAVCommon::DataFileKindName(kind);
        for (const auto& file : fs::directory_iterator(folder / "mod")) {
            const std::string name = file.path().filename().string();
            SCOPED_TRACE(name);
            const auto bytes = archive->ReadAll(kind, DRAVCommon::DFS_MOD, name);
            CSubModelInfo info;
            info.kind = kind;
            info.name = name;
            info.textures = EntriesNamedIn(std::string(bytes->begin(), bytes->end()));
            ASSERT_FALSE(info.textures.empty());
            auto node = LoadModel(&xp, *archive, info, info.textures, nullptr, 0, nullptr, true, 0.0, 0.0);
            const auto& parts = node->GetMesh()->GetParts();
            ASSERT_EQ(parts.size(), info.textures.size());  // every material is used
            for (std::size_t i = 0; i < parts.size(); ++i) {
                EXPECT_EQ(parts[i].textured, !info.textures[i].name.empty());
                EXPECT_EQ(parts[i].textured, parts[i].texture != nullptr);
            }
            ++models;
        }
        for (const auto& file : fs::directory_iterator(folder / "tex")) {
            SCOPED_TRACE(file.path());
            EXPECT_TRUE(DRAVCommon::LoadTextureFile(&xp, *archive, kind, DRAVCommon::DFS_TEX,
                                                    file.path().filename().string()));
            ++textures;
        }
    }
    EXPECT_GE(models, 30);
    EXPECT_GE(textures, 25);
}

}  // namespace
