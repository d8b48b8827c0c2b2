// Plays a mutated sample chapter: the first byte chooses one of the chapter's
// definition, area or map files, the rest replaces its text. The game is played as
// sample_play.h describes; data the game accepts must play, and anything but a
// load's CDRAVException naming a file is a finding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "common/data_file_path.h"
#include "common/exception.h"
#include "common/random.h"
#include "sample_play.h"
#include "support/overlay_source.h"
#include "support/temp_dir.h"

namespace {

using DRAVCommon::DataFileKind;

// The files a new game of the chapter reads, in the order the seed corpus numbers them.
constexpr std::pair<DataFileKind, const char*> kFiles[] = {
    {DRAVCommon::DFK_CHAPTER, "world.drav"},       {DRAVCommon::DFK_GLOBAL, "global_world.drav"},
    {DRAVCommon::DFK_CHAPTER, "magic.drav"},       {DRAVCommon::DFK_GLOBAL, "global_magic.drav"},
    {DRAVCommon::DFK_CHAPTER, "items.drav"},       {DRAVCommon::DFK_GLOBAL, "global_items.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_factions.drav"}, {DRAVCommon::DFK_CHAPTER, "monsters.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_monsters.drav"}, {DRAVCommon::DFK_CHAPTER, "quests.drav"},
    {DRAVCommon::DFK_CHAPTER, "journal.drav"},     {DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav"},
    {DRAVCommon::DFK_CHAPTER, "reed_marsh.drav"},  {DRAVCommon::DFK_CHAPTER, "reedwater_map.drav"},
};
constexpr std::size_t kFileCount = sizeof(kFiles) / sizeof(kFiles[0]);

const QuillmereTest::TempDir& SaveFolder() {
    static const QuillmereTest::TempDir folder;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const auto sample = std::make_shared<DRAVCommon::CDataFileFactoryPath>(QUILLMERE_SAMPLE_DIR, 1);
    auto source = std::make_shared<QuillmereTest::OverlaySource>(sample);
    const auto& [kind, name] = kFiles[data[0] % kFileCount];
    source->Add(kind, DRAVCommon::DFS_NONE, name, std::string(data + 1, data + size));
    // The same rolls for the same input, so a finding repeats.
    DRAVCommon::GetRandomEngine().seed(1);
    QuillmereFuzz::PlayPlan plan;
    plan.savePath = SaveFolder() / "play.drav";
    plan.maps = {"reedwater_map"};
    try {
        QuillmereFuzz::PlaySample(source, plan);
    } catch (const CDRAVException& error) {
        if (error.GetMessage().find(".drav") == std::string::npos) __builtin_trap();
    } catch (const QuillmereFuzz::PlayFault&) {
        __builtin_trap();
    }
    return 0;
}
