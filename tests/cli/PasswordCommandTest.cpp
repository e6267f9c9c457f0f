// The password command's bounds: the first line ends the wait, a command that lingers after
// it or never prints one is ended with its group, and a flood is cut off.
#include "platform/PasswordCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

namespace tarvelo {
namespace {

using namespace std::chrono_literals;

struct Row {
    const char* name;
    const char* command;
    std::optional<std::string> password;
    std::string error;
    std::chrono::milliseconds atLeast;
    std::chrono::milliseconds atMost;
    friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
};

class PasswordCommandTest : public ::testing::TestWithParam<Row> {};

TEST_P(PasswordCommandTest, BoundedInTimeAndSize) {
    const Row& row = GetParam();
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const std::optional<SecretText> password =
        PasswordFromCommand(row.command, error, {.line = 500ms, .exit = 300ms, .bytes = 64});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(password ? std::optional<std::string>(password->view()) : std::nullopt, row.password);
    EXPECT_EQ(error, row.error);
    EXPECT_GE(took, row.atLeast);
    EXPECT_LT(took, row.atMost);
}

const std::string kTooLong = "the password command printed more than 64 bytes without a line end";

INSTANTIATE_TEST_SUITE_P(
    Rows, PasswordCommandTest,
    ::testing::Values(Row{"FirstLineOnly", "printf 'pw\\r\\nrest\\n'", "pw", "", 0ms, 250ms},
                      Row{"NoLineEndAtTheEnd", "printf pw", "pw", "", 0ms, 250ms},
                      Row{"LingersAfterTheLine", "echo pw; sleep 1000", "pw", "", 300ms, 1s},
                      Row{"ChildKeepsTheOutput", "sleep 1000 & echo pw", "pw", "", 300ms, 1s},
                      Row{"NoLine", "sleep 1000", std::nullopt,
                          "the password command printed no line within 500 ms", 500ms, 1500ms},
                      Row{"Flood", "head -c 100000000 /dev/zero", std::nullopt, kTooLong, 0ms, 1s},
                      Row{"FailsAfterTheLine", "echo pw; exit 3", std::nullopt,
                          "the password command failed", 0ms, 250ms}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
