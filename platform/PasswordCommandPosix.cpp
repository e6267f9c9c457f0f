#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "base/TimeLeft.h"
#include "platform/PasswordCommand.h"
#include "platform/SecretText.h"

extern char** environ;

namespace tarvelo {

namespace {

using Clock = std::chrono::steady_clock;

// Hands what arrives to take until take says enough, the output ends or deadline passes. True
// when the output ended (every writer closed it).
template <typename Take>
bool ReadUntil(int fd, Clock::time_point deadline, Take take) {
    // What arrives is the password.
    WipedBuffer<512> wiped;
    std::array<char, 512>& chunk = wiped.bytes;
    for (;;) {
        pollfd watched{.fd = fd, .events = POLLIN, .revents = 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(TimeLeft(deadline).count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return true;
        }
        if (take(std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

// Waits for the command until deadline; then ends its whole group (children that kept the
// output included) and collects it. Its status, or -1 when it had to be ended.
int Reap(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            // What it left running in its group has no business there any more.
            ::kill(-pid, SIGKILL);
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (Clock::now() >= deadline) {
            break;
        }
        ::usleep(10'000);
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return -1;
}

}  // namespace

std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error,
                                              const PasswordCommandBounds& bounds) {
    KeepSecretsOutOfCoreDumps();
    const Clock::time_point start = Clock::now();
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        error = "cannot run the password command: " + std::string(std::strerror(errno));
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that whatever it starts can be ended with it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, "/bin/sh", &actions, &attributes,
                                      const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipe[1]);
    if (spawned != 0) {
        ::close(pipe[0]);
        error = "cannot run the password command: " + std::string(std::strerror(spawned));
        return std::nullopt;
    }
    FirstLine line(bounds.bytes);
    const bool ended = ReadUntil(pipe[0], start + bounds.line,
                                 [&line](std::string_view bytes) { return line.Add(bytes); });
    if (!line.Whole() && !ended) {
        ::close(pipe[0]);
        Reap(pid, Clock::now());
        error = line.TooLong() ? PasswordCommandTooLong(bounds) : PasswordCommandTooSlow(bounds);
        return std::nullopt;
    }
    // What comes after the line is read and dropped, so that the command does not die of a
    // broken pipe while it may still exit of itself.
    const Clock::time_point exitBy = Clock::now() + bounds.exit;
    ReadUntil(pipe[0], exitBy, [](std::string_view) { return false; });
    ::close(pipe[0]);
    const int status = Reap(pid, exitBy);
    if (status != -1 && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)) {
        error = "the password command failed";
        return std::nullopt;
    }
    if (status == -1 && !line.Whole()) {
        error = "the password command failed";
        return std::nullopt;
    }
    return line.Take();
}

}  // namespace tarvelo
