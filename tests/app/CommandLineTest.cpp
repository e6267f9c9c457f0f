#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvelo {
namespace {

struct CommandLineCase {
    std::string name;
    std::vector<const char*> arguments;
    bool run;
    int exitStatus;
    std::string outputStart;  // what standard output starts with
    std::string errorStart;   // what standard error starts with
};

constexpr const char* kUsageStart = "Usage: tarvelo [--menu | --version | --help]\n";

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, RunsPrintsOrRefuses) {
    const CommandLineCase& c = GetParam();
    const CommandLineReply reply = ReadCommandLine(c.arguments);
    EXPECT_EQ(reply.run, c.run);
    EXPECT_EQ(reply.exitStatus, c.exitStatus);
    EXPECT_EQ(reply.output.substr(0, c.outputStart.size()), c.outputStart);
    EXPECT_EQ(reply.error.substr(0, c.errorStart.size()), c.errorStart);
    EXPECT_EQ(reply.output.empty(), c.outputStart.empty());
    EXPECT_EQ(reply.error.empty(), c.errorStart.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"None", {}, true, 0, "", ""},
        CommandLineCase{"Menu", {"--menu"}, true, 0, "", ""},
        CommandLineCase{
            "Version", {"--version"}, false, 0, "Tarvelo from E-Mail Ver 1.1beta1\n", ""},
        CommandLineCase{"Help", {"--help"}, false, 0, kUsageStart, ""},
        CommandLineCase{"ShortHelp",
                        {"-h"},
                        false,
                        2,
                        "",
                        std::string("tarvelo: unexpected argument '-h'\n") + kUsageStart},
        CommandLineCase{"QtOption",
                        {"-platform", "offscreen"},
                        false,
                        2,
                        "",
                        "tarvelo: unexpected argument '-platform'\n"},
        CommandLineCase{"VersionThenMore",
                        {"--version", "x"},
                        false,
                        2,
                        "",
                        "tarvelo: unexpected argument 'x'\n"},
        CommandLineCase{"Empty", {""}, false, 2, "", "tarvelo: unexpected argument ''\n"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& row) { return row.param.name; });

}  // namespace
}  // namespace tarvelo
