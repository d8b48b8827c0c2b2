#pragma once
// A Lua state built once and brought back to that first image before every
// evaluation, so each evaluation starts from a fresh state without paying for
// the libraries and the native functions again.
//
// The state lives in an arena of its own: every pointer inside it points into the
// arena or at static data of the program, so copying the saved bytes back over
// the arena restores the state exactly, whatever the last evaluation did to it.
// What an evaluation allocates goes to blocks outside the arena, all freed when
// it ends; what it frees inside the arena is left for the next restore.

#include <cstddef>
#include <memory>
#include <vector>

#include <lua.hpp>

#include "script/script_limits.h"

namespace DRAV {

class CLuaStateImage {
public:
    // Builds the state: `prepare` runs protected with `argument` (a boolean) as
    // its only argument. Throws std::bad_alloc when the state cannot be built and
    // CDRAVException code 6 when `prepare` fails.
    CLuaStateImage(lua_CFunction prepare, bool argument);
    ~CLuaStateImage();
    CLuaStateImage(const CLuaStateImage&) = delete;
    CLuaStateImage& operator=(const CLuaStateImage&) = delete;

    // Restores the image and starts a new evaluation record for `context`, in
    // `run` (that of the evaluation `enclosing` it runs inside, or of the step of
    // play), else in a new run.
    lua_State* Restore(CScriptContext* context, CScriptBudget* run, CEvalRecord* enclosing);
    // Frees what the evaluation since Restore allocated, and gives its memory back
    // to its run. The state is unusable until the next Restore.
    void Release();

    CEvalRecord& Record() { return m_record; }
    std::size_t ImageSize() const { return m_image.size(); }

private:
    // The header of a block allocated while a script runs; Lua's part follows it.
    struct alignas(std::max_align_t) RunBlock {
        RunBlock* previous;
        RunBlock* next;
    };

    static void* Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize);
    void* AllocatePreparing(void* block, std::size_t oldSize, std::size_t newSize);
    void* AllocateRunning(void* block, std::size_t oldSize, std::size_t newSize);
    bool InArena(const void* block) const;
    void Link(RunBlock* block);
    // The state's own block of `held` bytes now holds `size`.
    void Hold(std::size_t held, std::size_t size);

    std::unique_ptr<unsigned char[]> m_arena;
    std::size_t m_used = 0;
    std::vector<unsigned char> m_image;
    std::size_t m_imageMemory = 0;
    bool m_preparing = true;
    RunBlock m_runBlocks{&m_runBlocks, &m_runBlocks};
    CEvalRecord m_record;
    CScriptBudget m_ownRun;  // the run of an evaluation that runs inside no other
    lua_State* m_state = nullptr;
};

}  // namespace DRAV
