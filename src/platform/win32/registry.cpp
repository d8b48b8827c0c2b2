#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/shell.h"

namespace {

struct Entry {
    std::string name;  // key path and value name, backslash-separated
    DWORD type;
    std::string text;  // the decimal number of a REG_DWORD, or the string
};

std::string ConfigFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return config;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config";
}

std::string RegistryFile() { return ConfigFolder() + "/quillmere/registry.txt"; }

std::optional<std::string> FullName(HKEY key, const char* subKey, const char* value) {
    if (key != HKEY_CURRENT_USER || !subKey) return std::nullopt;
    std::string name = std::string("HKEY_CURRENT_USER\\") + subKey + "\\" + (value ? value : "");
    // A name holding " = " or a line break could not be read back from its line.
    if (name.find(" = ") != std::string::npos || name.find('\n') != std::string::npos) return std::nullopt;
    return name;
}

// Lines that are not "name = dword:N" or "name = sz:text" are dropped.
std::vector<Entry> ReadEntries() {
    std::vector<Entry> entries;
    std::ifstream in(RegistryFile());
    std::string line;
    while (std::getline(in, line)) {
        std::size_t split = line.find(" = ");
        if (split == std::string::npos) continue;
        std::string name = line.substr(0, split);
        std::string value = line.substr(split + 3);
        if (value.rfind("dword:", 0) == 0) {
            char* end = nullptr;
            unsigned long number = std::strtoul(value.c_str() + 6, &end, 10);
            if (end == value.c_str() + 6 || *end != '\0' || number > 0xFFFFFFFFul) continue;
            entries.push_back({name, REG_DWORD, std::to_string(number)});
        } else if (value.rfind("sz:", 0) == 0) {
            entries.push_back({name, REG_SZ, value.substr(3)});
        }
    }
    return entries;
}

void MakeFolders(const std::string& file) {
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1))
        ::mkdir(file.substr(0, slash).c_str(), 0700);
}

// The whole file is written beside the old one and renamed over it, so that a
// failed write never leaves the values half-written.
bool WriteEntries(const std::vector<Entry>& entries) {
    std::string file = RegistryFile();
    MakeFolders(file);
    std::string temporary = file + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const Entry& entry : entries)
            out << entry.name << " = " << (entry.type == REG_DWORD ? "dword:" : "sz:") << entry.text << '\n';
        out.flush();
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), file.c_str()) == 0;
}

}  // namespace

LONG SHGetValueA(HKEY key, const char* subKey, const char* value, DWORD* type, void* data, DWORD* size) {
    auto name = FullName(key, subKey, value);
    if (!name) return ERROR_INVALID_PARAMETER;
    for (const Entry& entry : ReadEntries()) {
        if (::strcasecmp(entry.name.c_str(), name->c_str()) != 0) continue;
        if (type) *type = entry.type;
        DWORD needed = entry.type == REG_DWORD ? 4 : static_cast<DWORD>(entry.text.size() + 1);
        if (data) {
            if (!size || *size < needed) {
                if (size) *size = needed;
                return ERROR_MORE_DATA;
            }
            if (entry.type == REG_DWORD) {
                DWORD number = static_cast<DWORD>(std::strtoul(entry.text.c_str(), nullptr, 10));
                std::memcpy(data, &number, 4);
            } else {
                std::memcpy(data, entry.text.c_str(), needed);
            }
        }
        if (size) *size = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG SHSetValueA(HKEY key, const char* subKey, const char* value, DWORD type, const void* data, DWORD size) {
    auto name = FullName(key, subKey, value);
    if (!name || !data) return ERROR_INVALID_PARAMETER;
    Entry written{*name, type, {}};
    if (type == REG_DWORD) {
        if (size != 4) return ERROR_INVALID_PARAMETER;
        DWORD number = 0;
        std::memcpy(&number, data, 4);
        written.text = std::to_string(number);
    } else if (type == REG_SZ) {
        const char* text = static_cast<const char*>(data);
        written.text.assign(text, strnlen(text, size));
        if (written.text.find('\n') != std::string::npos) return ERROR_INVALID_PARAMETER;
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<Entry> entries = ReadEntries();
    bool replaced = false;
    for (Entry& entry : entries) {
        if (::strcasecmp(entry.name.c_str(), name->c_str()) == 0) {
            entry = written;
            replaced = true;
        }
    }
    if (!replaced) entries.push_back(written);
    return WriteEntries(entries) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}
