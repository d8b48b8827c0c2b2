// Evaluates mutated module scripts in a running sample game: the input is the
// body of a "lua" element, run for the main actor with an actor of the area as
// its partner. A script may fail only as CDRAVException, and no evaluation may
// take long: one that runs past a second is a hang and aborts the run.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/processor_clock.h"
#include "script/script_loader.h"
#include "support/sample_game.h"

namespace {

constexpr int kEvaluationsPerGame = 200;
constexpr auto kHang = std::chrono::seconds(1);

std::shared_ptr<DRAV::CLuaScript> ReadScript(const std::string& body) {
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>("<lua>\n" + body + "\n</lua>\n"),
                                       "fuzz.drav");
    return DRAV::LoadScript(reader);
}

// Scripts change the game they run in (they may empty the party or leave the
// area): a fresh game now and then keeps the inputs meeting a playable one.
QuillmereTest::SampleGame& Game() {
    static std::unique_ptr<QuillmereTest::SampleGame> game;
    static int evaluations = 0;
    if (!game || ++evaluations % kEvaluationsPerGame == 0 || !game->Main() || !game->Game().GetCurrentArea()) {
        game.reset();
        game = std::make_unique<QuillmereTest::SampleGame>();
    }
    game->DrainEvents();
    return *game;
}

}  // namespace

// The address sanitizer's allocator does its housekeeping inside whichever free()
// comes due: it recycles a tenth of its quarantine of freed blocks at once, and
// every few seconds hands free memory back to the system. Once tens of thousands
// of inputs have run, one such call took up to a second of the thread's processor
// time, charged to the evaluation that made it and spent between two of the script
// guard's clock checks, where nothing can stop it: a script that frees a block
// every few instructions came due in many of its runs and looked hung. A smaller
// quarantine recycles in smaller batches, and free memory is kept rather than
// handed back; the fuzzer's RSS limit still bounds it.
extern "C" const char* __asan_default_options() {
    return "allocator_release_to_os_interval_ms=-1:quarantine_size_mb=32";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<DRAV::CLuaScript> script;
    try {
        script = ReadScript(body);
    } catch (const CDRAVException&) {
        return 0;
    }
    if (!script) return 0;

    QuillmereTest::SampleGame& game = Game();
    DRAV::CScriptContext context;
    context.actor = game.Main().get();
    for (const auto& actor : game.Area().GetActors())
        if (actor.get() != context.actor) context.partner = actor.get();
    const auto start = DRAVCommon::ThreadProcessorTime();
    try {
        script->Eval(&game.Engine(), context);
    } catch (const CDRAVException&) {
    }
    if (DRAVCommon::ThreadProcessorTime() - start > kHang) {
        std::fprintf(stderr, "script ran past a second:\n%s\n", body.c_str());
        std::abort();
    }
    return 0;
}
