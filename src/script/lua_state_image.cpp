#include "script/lua_state_image.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "common/exception.h"
#include "common/trace.h"

namespace DRAV {
namespace {

// The prepared state takes about 32 KB; the rest is room to grow.
constexpr std::size_t kArenaSize = 256 * 1024;
constexpr std::size_t kAlignment = alignof(std::max_align_t);

std::size_t AlignUp(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

int Panic(lua_State* state) {
    DRAV_TRACE(1, "Lua panic: %s", lua_tostring(state, -1) ? lua_tostring(state, -1) : "?");
    std::abort();
}

}  // namespace

CLuaStateImage::CLuaStateImage(lua_CFunction prepare, bool argument)
    : m_arena(new unsigned char[kArenaSize]) {
    m_record.run = &m_ownRun;
    m_state = lua_newstate(Allocate, this);
    if (!m_state) throw std::bad_alloc();
    EvalRecordSlot(m_state) = &m_record;
    m_record.mainThread = m_state;
    lua_atpanic(m_state, Panic);
    lua_pushcfunction(m_state, prepare);
    lua_pushboolean(m_state, argument);
    if (int status = lua_pcall(m_state, 1, 0, 0); status != LUA_OK) {
        std::string text = lua_tostring(m_state, -1) ? lua_tostring(m_state, -1) : "";
        // Nothing was allocated outside the arena yet, and nothing in it has a finalizer.
        if (status == LUA_ERRMEM) throw std::bad_alloc();
        throw CDRAVException(DRAV_ERR_SCRIPT, std::move(text));
    }
    // Start every evaluation with no collection under way and no garbage to find.
    lua_gc(m_state, LUA_GCCOLLECT, 0);
    ArmInstructionHook(m_state);
    m_image.assign(m_arena.get(), m_arena.get() + m_used);
    m_imageMemory = m_record.memory;
    m_preparing = false;
}

CLuaStateImage::~CLuaStateImage() { Release(); }

lua_State* CLuaStateImage::Restore(CScriptContext* context, CScriptBudget* run, CEvalRecord* enclosing) {
    static std::uint64_t evaluations = 0;
    std::memcpy(m_arena.get(), m_image.data(), m_image.size());
    m_record = CEvalRecord();
    m_record.context = context;
    m_record.mainThread = m_state;
    m_record.serial = ++evaluations;
    m_record.started = ScriptClock();
    if (run) {
        m_record.run = run;
        m_record.enclosing = enclosing;
    } else {
        m_ownRun = CScriptBudget();
        m_record.run = &m_ownRun;
    }
    if (!m_record.run->start) m_record.run->start = m_record.started;
    m_record.workAtStart = m_record.run->work;
    m_record.madeAtStart = m_record.run->made;
    Hold(0, m_imageMemory);
    return m_state;
}

void CLuaStateImage::Release() {
    for (RunBlock* block = m_runBlocks.next; block != &m_runBlocks;) {
        RunBlock* next = block->next;
        std::free(block);
        block = next;
    }
    m_runBlocks.previous = m_runBlocks.next = &m_runBlocks;
    Hold(m_record.memory, 0);
    m_record.run = &m_ownRun;
}

void CLuaStateImage::Hold(std::size_t held, std::size_t size) {
    m_record.memory = m_record.memory - held + size;
    m_record.run->memory = m_record.run->memory - held + size;
}

bool CLuaStateImage::InArena(const void* block) const {
    const auto* bytes = static_cast<const unsigned char*>(block);
    return bytes >= m_arena.get() && bytes < m_arena.get() + kArenaSize;
}

void CLuaStateImage::Link(RunBlock* block) {
    block->previous = m_runBlocks.previous;
    block->next = &m_runBlocks;
    block->previous->next = block;
    m_runBlocks.previous = block;
}

void* CLuaStateImage::Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize) {
    auto* image = static_cast<CLuaStateImage*>(self);
    return image->m_preparing ? image->AllocatePreparing(block, oldSize, newSize)
                              : image->AllocateRunning(block, oldSize, newSize);
}

void* CLuaStateImage::AllocatePreparing(void* block, std::size_t oldSize, std::size_t newSize) {
    // Without a block, oldSize names the kind of object Lua wants, not a size.
    const std::size_t held = block ? oldSize : 0;
    m_record.memory = m_record.memory - held + newSize;
    if (newSize <= held) return newSize == 0 ? nullptr : block;  // freed space is not reused while preparing
    const std::size_t size = AlignUp(newSize);
    if (size > kArenaSize - m_used) {
        m_record.memory = m_record.memory - newSize + held;
        return nullptr;
    }
    void* grown = m_arena.get() + m_used;
    m_used += size;
    if (block) std::memcpy(grown, block, held);
    return grown;
}

void* CLuaStateImage::AllocateRunning(void* block, std::size_t oldSize, std::size_t newSize) {
    const std::size_t held = block ? oldSize : 0;
    const bool inArena = block && InArena(block);
    CScriptBudget& budget = *m_record.run;
    if (newSize == 0) {
        if (block && !inArena) {
            RunBlock* run = static_cast<RunBlock*>(block) - 1;
            run->previous->next = run->next;
            run->next->previous = run->previous;
            std::free(run);
        }
        Hold(held, 0);
        return nullptr;
    }
    if (newSize > held) {
        // What the evaluations this one runs inside hold counts too.
        const std::size_t limit = kScriptMemoryLimit + (budget.stopReason ? kStoppedScriptReserve : 0);
        if (budget.memory - held + newSize > limit) {
            // Lua raises its memory error here; the hook keeps raising it after.
            StopRun(budget, &m_record, "not enough memory", ScriptLimit::Memory, newSize - held);
            return nullptr;
        }
        budget.work += WorkOfBytes(newSize);
    }
    if (inArena && newSize <= held) {
        Hold(held, newSize);
        return block;
    }
    RunBlock* run;
    if (block && !inArena) {
        run = static_cast<RunBlock*>(std::realloc(static_cast<RunBlock*>(block) - 1, sizeof(RunBlock) + newSize));
        if (!run) return nullptr;
        run->previous->next = run;
        run->next->previous = run;
    } else {
        run = static_cast<RunBlock*>(std::malloc(sizeof(RunBlock) + newSize));
        if (!run) return nullptr;
        Link(run);
        if (block) std::memcpy(run + 1, block, held < newSize ? held : newSize);
    }
    Hold(held, newSize);
    return run + 1;
}

}  // namespace DRAV
