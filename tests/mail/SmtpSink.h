// smtp_sink.py (aiosmtpd), a real SMTP server on 127.0.0.1:25, as a child process of the test.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tarvelo::testing {

using namespace std::chrono_literals;

// smtp_sink.py as a child process, from the moment it listens until the object goes.
class SmtpSink {
public:
    // more: further arguments of smtp_sink.py ("--submission USER PASSWORD").
    explicit SmtpSink(const std::filesystem::path& directory, std::vector<std::string> more = {})
        : directory_(directory) {
        std::filesystem::create_directories(directory_);
        // Not __FILE__: ccache's base_dir makes it relative to a build folder, which is not
        // the working directory of a test.
        const std::string script =
            (std::filesystem::path(TARVELO_SOURCE_DIR) / "tests/mail/smtp_sink.py").string();
        const std::string where = directory_.string();
        std::vector<char*> argv = {const_cast<char*>("/usr/bin/python3"),
                                   const_cast<char*>(script.c_str()),
                                   const_cast<char*>(where.c_str())};
        for (std::string& argument : more) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
    }
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;
    ~SmtpSink() {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, SIGTERM);
        if (!Reaped(5s)) {
            ::kill(pid_, SIGKILL);
            Reaped(5s);
        }
    }

    // Whether it listens within wait; false when it could not start or died first.
    bool Ready(std::chrono::milliseconds wait) {
        for (auto waited = 0ms; pid_ > 0 && waited < wait; waited += 20ms) {
            if (std::filesystem::exists(directory_ / "ready")) {
                return true;
            }
            if (Reaped(0ms)) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

private:
    bool Reaped(std::chrono::milliseconds wait) {
        for (auto waited = 0ms;; waited += 20ms) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return true;
            }
            if (waited >= wait) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
    }

    std::filesystem::path directory_;
    pid_t pid_ = -1;
};

}  // namespace tarvelo::testing
