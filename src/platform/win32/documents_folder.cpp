#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/file_path.h"
#include "platform/win32/shlobj.h"

HRESULT SHGetFolderPathA(HWND, int folder, HANDLE, DWORD, LPSTR path) {
    constexpr HRESULT kFailed = static_cast<HRESULT>(0x80004005u);
    if (folder != CSIDL_PERSONAL || !path) return kFailed;
    std::string documents;
    if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg && *xdg) {
        documents = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return kFailed;
        documents = std::string(home) + "/Documents";
    }
    if (documents.size() >= static_cast<std::size_t>(MAX_PATH)) return kFailed;
    for (char& c : documents)
        if (c == '/') c = '\\';
    std::memcpy(path, documents.c_str(), documents.size() + 1);
    return 0;
}

int SHCreateDirectoryExA(HWND, LPCSTR path, const void*) {
    if (!path || !*path) return ERROR_PATH_NOT_FOUND;
    const std::string native = Win32::NativePath(path);
    struct stat info{};
    if (::stat(native.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return ERROR_ALREADY_EXISTS;
        errno = ENOTDIR;  // the caller may tell why
        return ERROR_PATH_NOT_FOUND;
    }
    for (std::size_t slash = native.find('/', 1); slash != std::string::npos; slash = native.find('/', slash + 1))
        ::mkdir(native.substr(0, slash).c_str(), 0755);
    if (::mkdir(native.c_str(), 0755) != 0 && errno != EEXIST) return errno == ENAMETOOLONG ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
    return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 0 : ERROR_PATH_NOT_FOUND;
}
