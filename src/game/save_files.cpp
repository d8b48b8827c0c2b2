#include "game/save_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/exception.h"
#include "platform/win32/file_path.h"
#include "platform/win32/shlobj.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void FailSave(const std::string& path, const std::string& reason) {
    throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot save " + path + ": " + reason, reason);
}

// A file's or a folder's contents reach the disk before the next step relies on them.
void SyncPath(const fs::path& target, const std::string& save) {
    const int descriptor = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) FailSave(save, std::strerror(errno));
    if (::fsync(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        FailSave(save, std::strerror(error));
    }
    ::close(descriptor);
}

void RenameOver(const fs::path& from, const fs::path& to, const std::string& save) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) FailSave(save, error.message());
}

void RemoveQuietly(const fs::path& file) {
    std::error_code ignored;
    fs::remove(file, ignored);
}

}  // namespace

std::string MakeSaveFolder(const std::string& internalName) {
    char documents[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents) < 0)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "there is no documents folder to keep saved games in");
    const std::string folder = std::string(documents) + "\\" + internalName + " Saved Games";
    errno = 0;
    const int made = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    if (made != 0 && made != ERROR_ALREADY_EXISTS) {
        const std::string reason = errno ? std::strerror(errno) : "";
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             "cannot make the save folder " + folder + (reason.empty() ? "" : ": " + reason), reason);
    }
    return folder;
}

void ReplaceSaveFile(const std::string& path, const std::function<void(const std::string&)>& writeNew) {
    const fs::path save = Win32::NativePath(path);
    const fs::path fresh = Win32::NativePath(path + ".new");
    const fs::path backup = Win32::NativePath(path + ".bak");
    const fs::path backupPart = Win32::NativePath(path + ".bak.part");
    const fs::path folder = save.has_parent_path() ? save.parent_path() : fs::path(".");
    try {
        writeNew(path + ".new");
        std::error_code error;
        if (fs::exists(save, error)) {
            if (!fs::copy_file(save, backupPart, fs::copy_options::overwrite_existing, error))
                FailSave(path, error ? error.message() : "the backup was not written");
            SyncPath(backupPart, path);
            RenameOver(backupPart, backup, path);
            SyncPath(folder, path);
        }
        RenameOver(fresh, save, path);
        SyncPath(folder, path);
    } catch (const CDRAVException&) {
        RemoveQuietly(fresh);
        RemoveQuietly(backupPart);
        throw;
    } catch (const std::exception& failure) {
        RemoveQuietly(fresh);
        RemoveQuietly(backupPart);
        FailSave(path, failure.what());
    } catch (...) {
        RemoveQuietly(fresh);
        RemoveQuietly(backupPart);
        FailSave(path, "unknown failure");
    }
}
