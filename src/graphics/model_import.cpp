#include "graphics/model_import.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <exception>
#include <fstream>

#include "common/exception.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMERE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUILLMERE_ASAN 1
#endif
#ifdef QUILLMERE_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace DRAVGraph {

namespace {

// The importer hands the right-handed scene back in the device's left-handed frame,
// v from the top and front faces clockwise, every face a triangle.
constexpr unsigned IMPORT_FLAGS = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate;
static_assert(IMPORT_FLAGS == 0x0180000C);

// A DirectX file starts "xof ", a version, and "txt ", "bin ", "tzip" or "bzip".
bool LooksLikeDirectXFile(const DRAVCommon::ByteVector& bytes) {
    if (bytes.size() < 16 || std::memcmp(bytes.data(), "xof ", 4) != 0) return false;
    const char* format = reinterpret_cast<const char*>(bytes.data()) + 8;
    return std::memcmp(format, "txt ", 4) == 0 || std::memcmp(format, "bin ", 4) == 0 ||
           std::memcmp(format, "tzip", 4) == 0 || std::memcmp(format, "bzip", 4) == 0;
}

// The reply of the importing child: a code (0 for geometry), then either the three lists,
// each after its length, or a message.
void PutBytes(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}
void PutU32(std::string& out, std::uint32_t value) { PutBytes(out, &value, sizeof value); }

std::string FailureReply(std::int32_t code, const std::string& message) {
    std::string reply;
    PutU32(reply, static_cast<std::uint32_t>(code));
    PutU32(reply, static_cast<std::uint32_t>(message.size()));
    reply += message;
    return reply;
}

std::string GeometryReply(const SceneGeometry& geometry) {
    std::string reply;
    PutU32(reply, 0);
    PutU32(reply, static_cast<std::uint32_t>(geometry.vertices.size()));
    PutBytes(reply, geometry.vertices.data(), geometry.vertices.size() * sizeof(LitVertex));
    PutU32(reply, static_cast<std::uint32_t>(geometry.indices.size()));
    PutBytes(reply, geometry.indices.data(), geometry.indices.size() * sizeof(std::uint16_t));
    PutU32(reply, static_cast<std::uint32_t>(geometry.parts.size()));
    for (const MeshPart& part : geometry.parts) {
        PutU32(reply, part.vertexCount);
        PutU32(reply, part.triangleCount);
        PutBytes(reply, &part.material, sizeof part.material);
        reply += static_cast<char>(part.textured ? 1 : 0);
    }
    return reply;
}

// Reads the reply back; any shortfall means the child did not finish it.
class ReplyReader {
public:
    explicit ReplyReader(const std::string& reply) : m_reply(reply) {}
    bool Bytes(void* out, std::size_t size) {
        if (m_reply.size() - m_at < size) return false;
        std::memcpy(out, m_reply.data() + m_at, size);
        m_at += size;
        return true;
    }
    bool U32(std::uint32_t& value) { return Bytes(&value, sizeof value); }
    template <typename T>
    bool List(std::vector<T>& list) {
        std::uint32_t count = 0;
        if (!U32(count) || (m_reply.size() - m_at) / sizeof(T) < count) return false;
        list.resize(count);
        return Bytes(list.data(), count * sizeof(T));
    }
    bool AtEnd() const { return m_at == m_reply.size(); }
    std::size_t Left() const { return m_reply.size() - m_at; }

private:
    const std::string& m_reply;
    std::size_t m_at = 0;
};

std::string Import(const DRAVCommon::ByteVector& bytes) {
    try {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), IMPORT_FLAGS, "");
        if (!scene) return FailureReply(DRAV_ERR_BAD_DATA, std::string("cannot be read: ") + importer.GetErrorString());
        return GeometryReply(ExtractSceneGeometry(*scene));
    } catch (const CDRAVException& error) {
        return FailureReply(error.GetCode(), error.GetMessage());
    } catch (const std::exception& error) {
        return FailureReply(DRAV_ERR_BAD_DATA, std::string("cannot be read: ") + error.what());
    }
}

// Room the importer may take beyond what the process holds already: far more than any
// model of 65536 vertices needs.
constexpr rlim_t IMPORT_MEMORY = rlim_t{1} << 30;

// A file whose counts make the importer ask for memory without end then fails at once,
// instead of taking the machine's memory first.
void LimitChildMemory() {
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    if (!(statm >> pages)) return;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0) return;
    const rlim_t wanted = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + IMPORT_MEMORY;
    if (limit.rlim_max != RLIM_INFINITY && wanted > limit.rlim_max) return;
    limit.rlim_cur = wanted;
    setrlimit(RLIMIT_AS, &limit);
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        // MSG_NOSIGNAL: a server that died must not take the game down with SIGPIPE.
        const ssize_t n = send(fd, at, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads exactly `size` bytes, or gives up at `deadline` (never, when it is not set).
bool ReadAll(int fd, void* data, std::size_t size, const std::chrono::steady_clock::time_point* deadline) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
        int wait = -1;
        if (deadline) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            wait = static_cast<int>(left.count());
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, wait);
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return false;
        const ssize_t n = read(fd, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The server: one request after another (a length, then the file's bytes), each
// answered by a length and the reply, until the game closes its end.
[[noreturn]] void ServeImports(int socket) {
    // A crash here is the game's to report: no crash handler of the game (or of a
    // test harness) may act on it.
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(signal, SIG_DFL);
    std::signal(SIGINT, SIG_IGN);
#ifdef QUILLMERE_ASAN
    __sanitizer_set_death_callback(nullptr);
#endif
    LimitChildMemory();
    for (;;) {
        std::uint32_t size = 0;
        if (!ReadAll(socket, &size, sizeof size, nullptr)) break;
        DRAVCommon::ByteVector bytes(size);
        if (!ReadAll(socket, bytes.data(), size, nullptr)) break;
        const std::string reply = Import(bytes);
        const auto length = static_cast<std::uint32_t>(reply.size());
        if (!WriteAll(socket, &length, sizeof length) || !WriteAll(socket, reply.data(), reply.size())) break;
    }
    // Nothing of the game's (buffers, handlers, leak checks) runs in the server.
    _exit(0);
}

// One long-lived importing process for the whole game: a fork costs more the more
// memory the game holds, so the server is made once (best while the game is still
// small) and made again only after a file crashed or hung it.
class CImportServer {
public:
    ~CImportServer() { Stop(); }

    bool Start() {
        if (m_pid > 0) return true;
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
        const pid_t child = fork();
        if (child < 0) {
            close(ends[0]);
            close(ends[1]);
            return false;
        }
        if (child == 0) {
            close(ends[0]);
            ServeImports(ends[1]);
        }
        close(ends[1]);
        m_pid = child;
        m_socket = ends[0];
        return true;
    }

    // The server's reply, or "" with `failure` set after a crash, a hang or no server.
    std::string Request(const DRAVCommon::ByteVector& bytes, int timeoutMs, std::string& failure, bool& served) {
        served = Start();
        if (!served) return "";
        const auto size = static_cast<std::uint32_t>(bytes.size());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::uint32_t length = 0;
        std::string reply;
        bool answered = WriteAll(m_socket, &size, sizeof size) && WriteAll(m_socket, bytes.data(), bytes.size()) &&
                        ReadAll(m_socket, &length, sizeof length, &deadline);
        if (answered) {
            reply.resize(length);
            answered = ReadAll(m_socket, reply.data(), length, &deadline);
        }
        if (answered) return reply;
        // Dead or stuck: either way it is replaced at the next import.
        const bool timedOut = std::chrono::steady_clock::now() >= deadline;
        const int status = Stop(timedOut);
        if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL)
            failure = std::string("made the importer fail (") + strsignal(WTERMSIG(status)) + ")";
        else if (timedOut)
            failure = "took more than " + std::to_string(timeoutMs) + " ms to import";
        else if (WIFEXITED(status))
            failure = "made the importer fail (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
        else
            failure = "made the importer fail";
        return "";
    }

    // Ends the server and returns how it ended (0 when there was none). A server that
    // closed its end is dying already and is only waited for; a stuck one is killed.
    int Stop(bool stuck = true) {
        if (m_pid <= 0) return 0;
        close(m_socket);
        m_socket = -1;
        if (stuck) kill(m_pid, SIGKILL);
        int status = 0;
        pid_t waited;
        do waited = waitpid(m_pid, &status, 0);
        while (waited < 0 && errno == EINTR);
        m_pid = -1;
        return status;
    }

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_socket = -1;
};

CImportServer& Server() {
    static CImportServer server;
    return server;
}

// The reply of the server, or of this process when no server can be had; "" after a
// crash or a hang.
std::string ImportGuarded(const DRAVCommon::ByteVector& bytes, int timeoutMs, std::string& failure) {
    bool served = false;
    std::string reply = Server().Request(bytes, timeoutMs, failure, served);
    // No process to be had: import here rather than not at all.
    if (!served) return Import(bytes);
    return reply;
}

}  // namespace

void StartModelImporter() { Server().Start(); }

int GetModelImporterProcess() { return Server().Pid(); }

SceneGeometry ImportDirectXModel(const DRAVCommon::ByteVector& bytes, const std::string& fileName, int timeoutMs) {
    // Other formats are never handed to the importer: the game's models are DirectX
    // files, and every further parser is more surface for a malformed file.
    if (!LooksLikeDirectXFile(bytes))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Model " + fileName + ": not a DirectX model file");
    std::string failure;
    const std::string reply = ImportGuarded(bytes, timeoutMs, failure);
    if (reply.empty())
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             "Model " + fileName + ": " + (failure.empty() ? "made the importer fail" : failure));

    ReplyReader reader(reply);
    std::uint32_t code = 0;
    reader.U32(code);
    if (code != 0) {
        std::string message;
        std::uint32_t length = 0;
        if (reader.U32(length) && length <= reader.Left()) {
            message.resize(length);
            reader.Bytes(message.data(), length);
        }
        throw CDRAVException(static_cast<std::int32_t>(code), "Model " + fileName + ": " + message);
    }
    SceneGeometry geometry;
    std::uint32_t partCount = 0;
    bool whole = reader.List(geometry.vertices) && reader.List(geometry.indices) && reader.U32(partCount) &&
                 reader.Left() / (8 + sizeof(D3DMATERIAL9) + 1) >= partCount;
    for (std::uint32_t i = 0; whole && i < partCount; ++i) {
        MeshPart part;
        char textured = 0;
        whole = reader.U32(part.vertexCount) && reader.U32(part.triangleCount) &&
                reader.Bytes(&part.material, sizeof part.material) && reader.Bytes(&textured, 1);
        part.textured = textured != 0;
        geometry.parts.push_back(part);
    }
    if (!whole || !reader.AtEnd())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "Model " + fileName + ": the importer's answer is incomplete");
    return geometry;
}

}  // namespace DRAVGraph
