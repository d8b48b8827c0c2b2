#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/file_path.h"
#include "platform/win32/shellapi.h"

namespace {

constexpr std::intptr_t kStarted = 42;

HINSTANCE Answer(std::intptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

bool IsProgram(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && IsProgram(folder + "/" + name)) return folder + "/" + name;
        start = end + 1;
    }
    return {};
}

// Windows paths in an argument become native ones, also inside a "file://"
// address; other addresses pass unchanged.
std::string NativeArgument(const std::string& argument) {
    static const std::string kFileScheme = "file://";
    if (argument.rfind(kFileScheme, 0) == 0) {
        std::size_t anchor = argument.find('#');
        std::string path = argument.substr(kFileScheme.size(), anchor == std::string::npos ? std::string::npos
                                                                                           : anchor - kFileScheme.size());
        return kFileScheme + Win32::NativePath(path) + (anchor == std::string::npos ? "" : argument.substr(anchor));
    }
    if (argument.find("://") != std::string::npos) return argument;
    return Win32::NativePath(argument);
}

// Starts the program detached (the middle child exits at once and is reaped
// here, so nothing is left behind); true once exec succeeded.
bool Start(const std::string& program, const std::string* argument) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    std::vector<char*> arguments{const_cast<char*>(program.c_str())};
    if (argument) arguments.push_back(const_cast<char*>(argument->c_str()));
    arguments.push_back(nullptr);
    pid_t middle = fork();
    if (middle < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (middle == 0) {
        close(report[0]);
        if (fork() == 0) {
            execv(program.c_str(), arguments.data());
            int failure = errno;
            (void)!write(report[1], &failure, sizeof failure);
            _exit(127);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int failure = 0;
    ssize_t got;
    while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == 0;
}

}  // namespace

HINSTANCE FindExecutableA(LPCSTR file, LPCSTR, LPSTR result) {
    if (result) result[0] = '\0';
    if (!file) return Answer(SE_ERR_FNF);
    struct stat status {};
    if (stat(Win32::NativePath(file).c_str(), &status) != 0) return Answer(SE_ERR_FNF);
    const std::string program = FindOnPath("xdg-open");
    if (program.empty()) return Answer(SE_ERR_NOASSOC);
    if (result) {
        std::strncpy(result, program.c_str(), 259);
        result[259] = '\0';
    }
    return Answer(kStarted);
}

HINSTANCE ShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, int) {
    if (!file || !*file) return Answer(SE_ERR_FNF);
    const std::string target = file;
    if (IsProgram(target)) {
        const std::string argument = parameters ? NativeArgument(parameters) : std::string();
        return Answer(Start(target, parameters && *parameters ? &argument : nullptr) ? kStarted : SE_ERR_FNF);
    }
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) return Answer(SE_ERR_NOASSOC);
    const std::string argument = NativeArgument(target);
    return Answer(Start(opener, &argument) ? kStarted : SE_ERR_NOASSOC);
}
