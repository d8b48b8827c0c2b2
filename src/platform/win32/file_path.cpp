#include "platform/win32/file_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace Win32 {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The one folder entry that matches `name` without regard to case, or `name`
// itself. Two or more such entries match none: the order of a folder listing is
// chance, and a lookup must not depend on it.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return name;
    std::string found;
    int matches = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0 && ++matches == 1) found = entry->d_name;
    }
    ::closedir(dir);
    return matches == 1 ? found : name;
}

}  // namespace

std::string NativePath(const std::string& path) {
    std::string slashed = path;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    if (slashed.empty() || Exists(slashed)) return slashed;

    std::string result;
    std::size_t start = 0;
    if (slashed[0] == '/') {
        result = "/";
        start = 1;
    }
    bool resolving = true;
    while (start <= slashed.size()) {
        std::size_t end = slashed.find('/', start);
        if (end == std::string::npos) end = slashed.size();
        std::string part = slashed.substr(start, end - start);
        if (!part.empty()) {
            std::string folder = result;
            std::string candidate = folder + part;
            if (resolving && part != "." && part != ".." && !Exists(candidate)) {
                candidate = folder + MatchInFolder(folder, part);
                resolving = Exists(candidate);
            }
            result = candidate;
        }
        if (end < slashed.size()) result += '/';
        start = end + 1;
    }
    return result;
}

}  // namespace Win32
