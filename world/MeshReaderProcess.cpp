#include "world/MeshReaderProcess.h"

#include "platform/Interruption.h"
#include "world/MeshBytes.h"
#include "world/XMeshImport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// In the helper's environment: serve model reads on standard input instead of running the program.
constexpr const char* kHelperVariable = "BRUMARIA_MODEL_READER_PROCESS";
// Exit status of a reader whose file is not a model Assimp can read.
constexpr int kNotAModelStatus = 3;
constexpr std::uint32_t kMaxPathLength = 1 << 16;
// The helper's own time to answer, beyond the reader's limit.
constexpr std::chrono::milliseconds kReplyMargin(5000);
// Short enough that a Ctrl+C is noticed at once: the signal may be handled by another thread.
constexpr int kInterruptionCheckMs = 100;

struct Request {
    std::uint32_t timeLimitMs;
    std::uint32_t pathLength;  // the path follows
};

struct ReplyHeader {
    std::uint8_t outcome;  // a ModelReading::Outcome
    std::uint8_t optimised;
    std::uint64_t meshLength;  // the mesh's bytes follow
};

// All of the bytes into a socket. One whose reader has died gives false, not SIGPIPE.
bool SendAll(int socket, const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(socket, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

enum class Received { All, Closed, TimedOut, Interrupted };

// Reads `size` bytes by the deadline; while waiting, an interruption ends the wait if asked to.
Received ReadAll(int fd, void* data, std::size_t size, Clock::time_point deadline, bool interruptible)
{
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        if (interruptible && NotedInterruption() != 0)
            return Received::Interrupted;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count() + 1;
        if (left <= 0)
            return Received::TimedOut;
        pollfd ready = {fd, POLLIN, 0};
        const int polled = ::poll(
            &ready, 1, static_cast<int>(std::min<long long>(left, interruptible ? kInterruptionCheckMs : INT_MAX)));
        if (polled <= 0)
            continue;
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Received::Closed;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return Received::All;
}

Received ReadAll(int fd, void* data, std::size_t size)
{
    return ReadAll(fd, data, size, Clock::time_point::max(), false);
}

// --- In the reader, a child of the helper ---

void LimitThisProcess(std::uint32_t timeLimitMs)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // On top of what is mapped already (the executable's libraries and, in a sanitizer build,
    // the sanitizer's shadow memory), so only what the model asks for counts.
    long mappedPages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &mappedPages) != 1)
            mappedPages = 0;
        std::fclose(statm);
    }
    const rlim_t memory = static_cast<rlim_t>(mappedPages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) +
        static_cast<rlim_t>(MeshReaderProcess::kMemoryLimitBytes);
    const rlimit addressSpace = {memory, memory};
    ::setrlimit(RLIMIT_AS, &addressSpace);
    const rlim_t seconds = timeLimitMs / 1000 + 1;
    const rlimit processorTime = {seconds, seconds + 1};
    ::setrlimit(RLIMIT_CPU, &processorTime);
    // Some files are expected to crash the reader: no core files for them.
    const rlimit core = {0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
}

[[noreturn]] void ReadAndExit(const std::string& path, std::uint32_t timeLimitMs, int output)
{
    LimitThisProcess(timeLimitMs);
    XMeshImport import;
    if (!import.Read(path))
        ::_exit(kNotAModelStatus);
    const bool optimised = import.Optimize();
    const std::string bytes = std::string(1, optimised ? '\1' : '\0') + EncodeMesh(import.Mesh());
    ::_exit(SendAll(output, bytes.data(), bytes.size()) ? 0 : 1);
}

// --- In the helper ---

ModelReading::Outcome ReadInReader(const std::string& path, std::uint32_t timeLimitMs, std::string& result)
{
    int output[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, output) != 0)
        return ModelReading::Failed;
    // The helper has a single thread, so its fork may do anything.
    const pid_t reader = ::fork();
    if (reader == 0) {
        ::close(output[0]);
        ReadAndExit(path, timeLimitMs, output[1]);
    }
    ::close(output[1]);
    if (reader < 0) {
        ::close(output[0]);
        return ModelReading::Failed;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    bool timedOut = false;
    char chunk[1 << 16];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count() + 1;
        pollfd ready = {output[0], POLLIN, 0};
        const int polled = left > 0 ? ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, INT_MAX))) : 0;
        if (polled == 0) {
            timedOut = true;
            break;
        }
        if (polled < 0)
            continue;
        const ssize_t got = ::read(output[0], chunk, sizeof chunk);
        if (got > 0)
            result.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    ::close(output[0]);
    if (timedOut)
        ::kill(reader, SIGKILL);
    int status = 0;
    while (::waitpid(reader, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut)
        return ModelReading::TimedOut;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNotAModelStatus)
        return ModelReading::NotAModel;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || result.empty())
        return ModelReading::Failed;
    return ModelReading::Read;
}

[[noreturn]] void ServeModelReads()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Started as /proc/self/exe, it would be called "exe".
    ::prctl(PR_SET_NAME, "brumaria-reader");
    for (;;) {
        Request request = {};
        if (ReadAll(0, &request, sizeof request) != Received::All || request.pathLength > kMaxPathLength)
            ::_exit(0);
        std::string path(request.pathLength, '\0');
        if (ReadAll(0, path.data(), path.size()) != Received::All)
            ::_exit(0);
        std::string result;
        ReplyHeader reply = {};
        reply.outcome = static_cast<std::uint8_t>(ReadInReader(path, request.timeLimitMs, result));
        if (reply.outcome == ModelReading::Read) {
            reply.optimised = static_cast<std::uint8_t>(result[0]);
            result.erase(0, 1);
        } else {
            result.clear();
        }
        reply.meshLength = result.size();
        if (!SendAll(0, &reply, sizeof reply) || !SendAll(0, result.data(), result.size()))
            ::_exit(0);
    }
}

// A copy of the program started as the helper serves model reads and never reaches main().
[[maybe_unused]] const bool g_servedAsHelper = [] {
    const char* marker = std::getenv(kHelperVariable);
    if (marker != nullptr && std::strcmp(marker, "1") == 0)
        ServeModelReads();
    return false;
}();

// --- In the program ---

struct Helper {
    pid_t pid = -1;
    int socket = -1;
};

Helper g_helper;

bool StartHelper()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    posix_spawn_file_actions_t files;
    ::posix_spawn_file_actions_init(&files);
    ::posix_spawn_file_actions_adddup2(&files, ends[1], 0);
    ::posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    ::posix_spawnattr_setsigmask(&attributes, &signals);
    // The program's own handling (an ignored SIGPIPE, say) is not the helper's.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD})
        sigaddset(&signals, signal);
    ::posix_spawnattr_setsigdefault(&attributes, &signals);
    // A Ctrl+C in the terminal is for the program, which then ends its helper.
    ::posix_spawnattr_setpgroup(&attributes, 0);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
        environment.push_back(*variable);
    std::string marker = std::string(kHelperVariable) + "=1";
    environment.push_back(marker.data());
    environment.push_back(nullptr);
    char name[] = "brumaria-model-reader";
    char* arguments[] = {name, nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, "/proc/self/exe", &files, &attributes, arguments, environment.data());
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    if (spawned != 0) {
        ::close(ends[0]);
        return false;
    }
    g_helper = {pid, ends[0]};
    return true;
}

void StopHelper()
{
    if (g_helper.socket < 0)
        return;
    ::close(g_helper.socket);
    ::kill(g_helper.pid, SIGKILL);
    while (::waitpid(g_helper.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    g_helper = Helper();
}

bool SendRequest(const std::string& path, int timeLimitMs)
{
    const Request request = {static_cast<std::uint32_t>(timeLimitMs), static_cast<std::uint32_t>(path.size())};
    return SendAll(g_helper.socket, &request, sizeof request) && SendAll(g_helper.socket, path.data(), path.size());
}

}  // namespace

ModelReading MeshReaderProcess::Read(const std::string& path, int timeLimitMs)
{
    ModelReading reading;
    if (NotedInterruption() != 0) {
        reading.outcome = ModelReading::Interrupted;
        return reading;
    }
    // The helper stays in the folder it was started in.
    std::error_code error;
    const std::string absolutePath = std::filesystem::absolute(path, error).string();
    if (error || absolutePath.size() > kMaxPathLength || timeLimitMs <= 0)
        return reading;
    // A helper that has died since its last answer is replaced once.
    bool sent = false;
    for (int attempt = 0; attempt < 2 && !sent; ++attempt) {
        if (g_helper.socket < 0 && !StartHelper())
            return reading;
        sent = SendRequest(absolutePath, timeLimitMs);
        if (!sent)
            StopHelper();
    }
    if (!sent)
        return reading;

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs) + kReplyMargin;
    ReplyHeader reply = {};
    Received received = ReadAll(g_helper.socket, &reply, sizeof reply, deadline, true);
    std::string bytes;
    if (received == Received::All && reply.meshLength <= static_cast<std::uint64_t>(kMemoryLimitBytes)) {
        bytes.resize(reply.meshLength);
        received = ReadAll(g_helper.socket, bytes.data(), bytes.size(), deadline, true);
    } else if (received == Received::All) {
        received = Received::Closed;
    }
    if (received != Received::All) {
        // An answer cut short leaves the helper out of step: the next read starts a new one.
        StopHelper();
        reading.outcome = received == Received::Interrupted ? ModelReading::Interrupted
            : received == Received::TimedOut                ? ModelReading::TimedOut
                                                            : ModelReading::Failed;
        return reading;
    }
    if (reply.outcome > ModelReading::Interrupted)
        return reading;
    reading.outcome = static_cast<ModelReading::Outcome>(reply.outcome);
    reading.optimised = reply.optimised != 0;
    if (reading.outcome == ModelReading::Read && !DecodeMesh(bytes, reading.mesh))
        reading.outcome = ModelReading::Failed;
    return reading;
}
