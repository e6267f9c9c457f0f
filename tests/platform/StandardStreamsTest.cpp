// Closed standard descriptors are taken by the null device before anything else is opened: a
// socket or a file opened afterwards never gets 0, 1 or 2.
#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace tarvelo {
namespace {

struct StreamsCase {
    const char* name;
    std::vector<int> closed;
    friend void PrintTo(const StreamsCase& row, std::ostream* out) { *out << row.name; }
};

const StreamsCase kCases[] = {
    {"StandardErrorClosed", {2}},
    {"AllThreeClosed", {0, 1, 2}},
};

class StandardStreamsTest : public ::testing::TestWithParam<StreamsCase> {};

TEST_P(StandardStreamsTest, ClosedOnesGoToTheNullDevice) {
    const StreamsCase& row = GetParam();
    const testing::Report report = testing::RunInChild(false, [&row](testing::Report& out) {
        // The report's pipe must not be one of the descriptors under test.
        for (const int fd : row.closed) {
            ::close(fd);
        }
        out["opened"] = OpenStandardStreams() ? "yes" : "no";
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        out["socket"] = std::to_string(socket);
        struct stat null {};
        ::stat("/dev/null", &null);
        for (const int fd : row.closed) {
            struct stat status {};
            const bool onNull = ::fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) &&
                                status.st_rdev == null.st_rdev;
            out["fd" + std::to_string(fd)] = onNull ? "null" : "not null";
        }
    });
    ASSERT_EQ(report.count("skip"), 0u) << report.at("skip");
    EXPECT_EQ(report.count("crashed"), 0u);
    EXPECT_EQ(report.at("opened"), "yes");
    EXPECT_GE(std::stoi(report.at("socket")), 3);
    for (const int fd : row.closed) {
        EXPECT_EQ(report.at("fd" + std::to_string(fd)), "null") << fd;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StandardStreamsTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
