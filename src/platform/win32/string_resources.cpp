// Kept apart from the other resources: only a program that defines its resource
// script links these.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/win32/resources.h"
#include "platform/win32/winuser.h"

struct HICON__ {
    unsigned id;
};

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
    const auto& strings = Win32::ProgramResources().strings;
    auto found = strings.find(id);
    if (found == strings.end() || !buffer || size <= 0) return 0;
    int length = std::min(static_cast<int>(found->second.size()), size - 1);
    std::memcpy(buffer, found->second.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    static std::map<unsigned, HICON__> icons;
    unsigned id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
    if (!Win32::ProgramResources().icons.count(id)) return nullptr;
    HICON__& icon = icons[id];
    icon.id = id;
    return &icon;
}

