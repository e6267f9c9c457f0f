#include <windows.h>

#include <algorithm>
#include <array>

#include "base/TimeLeft.h"
#include "platform/PasswordCommand.h"
#include "platform/SecretText.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

namespace {

using Clock = std::chrono::steady_clock;

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    void Close() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
        handle_ = nullptr;
    }
    HANDLE get() const { return handle_; }
    HANDLE* put() { return &handle_; }

private:
    HANDLE handle_;
};

// An anonymous pipe cannot be waited on: it is looked at every 10 ms until deadline. Hands
// what arrives to take until take says enough; true when the output ended.
template <typename Take>
bool ReadUntil(HANDLE pipe, Clock::time_point deadline, Take take) {
    // What arrives is the password.
    WipedBuffer<512> wiped;
    std::array<char, 512>& chunk = wiped.bytes;
    for (;;) {
        DWORD waiting = 0;
        if (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) == 0) {
            return true;
        }
        if (waiting == 0) {
            if (Clock::now() >= deadline) {
                return false;
            }
            Sleep(10);
            continue;
        }
        DWORD got = 0;
        if (ReadFile(pipe, chunk.data(), std::min<DWORD>(waiting, chunk.size()), &got, nullptr) ==
                0 ||
            got == 0) {
            return true;
        }
        if (take(std::string_view(chunk.data(), got))) {
            return false;
        }
    }
}

}  // namespace

std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error,
                                              const PasswordCommandBounds& bounds) {
    // Through cmd.exe, as the POSIX side goes through the shell; in a job, the Windows
    // process group, so that whatever it starts is ended with it.
    KeepSecretsOutOfCoreDumps();
    const Clock::time_point start = Clock::now();
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    Handle readEnd;
    Handle writeEnd;
    Handle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0) == 0 ||
        SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0) == 0 || job.get() == nullptr ||
        SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits) == 0) {
        error = "cannot run the password command";
        return std::nullopt;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring line = L"cmd.exe /d /s /c \"" + WideFromUtf8(command) + L"\"";
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                       nullptr, &startup, &process) == 0) {
        error = "cannot run the password command";
        return std::nullopt;
    }
    const Handle processHandle(process.hProcess);
    const Handle thread(process.hThread);
    AssignProcessToJobObject(job.get(), process.hProcess);
    ResumeThread(process.hThread);
    writeEnd.Close();

    FirstLine first(bounds.bytes);
    const bool ended = ReadUntil(readEnd.get(), start + bounds.line,
                                 [&first](std::string_view bytes) { return first.Add(bytes); });
    if (!first.Whole() && !ended) {
        TerminateJobObject(job.get(), 1);
        error = first.TooLong() ? PasswordCommandTooLong(bounds) : PasswordCommandTooSlow(bounds);
        return std::nullopt;
    }
    const Clock::time_point exitBy = Clock::now() + bounds.exit;
    ReadUntil(readEnd.get(), exitBy, [](std::string_view) { return false; });
    const bool exited =
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(TimeLeft(exitBy).count())) ==
        WAIT_OBJECT_0;
    DWORD status = 1;
    if (exited) {
        GetExitCodeProcess(process.hProcess, &status);
    }
    // What it left running in its job has no business there any more.
    TerminateJobObject(job.get(), 1);
    if ((exited && status != 0) || (!exited && !first.Whole())) {
        error = "the password command failed";
        return std::nullopt;
    }
    return first.Take();
}

}  // namespace tarvelo
