// A secret's bytes: put together in place without a plain copy, and, once any is held, no core
// dump of the process.
#include "platform/SecretText.h"

#include <sys/prctl.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <string>

#include "ChildProcess.h"

namespace tarvelo {
namespace {

TEST(SecretText, AppendKeepsEveryByteAcrossGrowth) {
    SecretText secret;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string piece(1, static_cast<char>(i));
        secret.Append(piece);
        expected += piece;
    }
    EXPECT_EQ(secret.view(), expected);
    EXPECT_EQ(secret.c_str()[secret.size()], '\0');
}

TEST(SecretText, OfSizeIsZerosToWriteInto) {
    SecretText secret = SecretText::OfSize(5);
    EXPECT_EQ(secret.view(), std::string(5, '\0'));
    secret.data()[4] = 'x';
    EXPECT_EQ(secret.view(), std::string(4, '\0') + "x");
}

// In a child: the guard changes the process for the rest of its run.
TEST(SecretText, HoldingOneTurnsCoreDumpsOff) {
    const testing::Report report = testing::RunInChild(false, [](testing::Report& out) {
        // As a process that holds no secret yet, whatever this test process has held before.
        ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
        rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_CORE, &limit) != 0) {
            ::getrlimit(RLIMIT_CORE, &limit);
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_CORE, &limit);
        }
        ::getrlimit(RLIMIT_CORE, &limit);
        if (limit.rlim_cur == 0) {
            out["skip"] = "core dumps cannot be turned on here (hard limit 0)";
            return;
        }
        out["before"] = std::to_string(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0));
        const SecretText secret("password");
        ::getrlimit(RLIMIT_CORE, &limit);
        out["limit"] = std::to_string(limit.rlim_cur);
        out["dumpable"] = std::to_string(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0));
    });
    if (report.count("skip") != 0) {
        GTEST_SKIP() << report.at("skip");
    }
    EXPECT_EQ(report.count("crashed"), 0u);
    EXPECT_EQ(report.at("before"), "1");
    EXPECT_EQ(report.at("limit"), "0");
    EXPECT_EQ(report.at("dumpable"), "0");
}

}  // namespace
}  // namespace tarvelo
