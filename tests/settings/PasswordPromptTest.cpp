// What the question for the password shows: whose it is, why it comes again, and whether the
// answer is to be saved.
#include "settings/PasswordPrompt.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tarvelo {
namespace {

struct PromptCase {
    const char* name;
    SecretLookup store;
    const char* refusedReply;
    const char* refusal;
    bool saveChecked;
    friend void PrintTo(const PromptCase& row, std::ostream* out) { *out << row.name; }
};

const PromptCase kCases[] = {
    {"NoKeyringNothingToSaveInto", SecretLookup::NoStore, "", "", false},
    {"KeyringKeepsNoneYet", SecretLookup::NotFound, "", "", true},
    {"KeyringsPasswordRefused", SecretLookup::Found, "535 5.7.8 no",
     "ログインできませんでした: 535 5.7.8 no", true},
    {"RefusedWithoutKeyring", SecretLookup::NoStore, "535 no", "ログインできませんでした: 535 no",
     false},
};

class PasswordPromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PasswordPromptTest, Shows) {
    const PromptCase& row = GetParam();
    const PasswordPromptText text = PromptFor("mail.test:587", "taro", row.store, row.refusedReply);
    EXPECT_EQ(text.question, "taro (mail.test:587) のパスワード");
    EXPECT_EQ(text.login, "taro");
    EXPECT_EQ(text.refusal, row.refusal);
    EXPECT_EQ(text.saveChecked, row.saveChecked);
}

INSTANTIATE_TEST_SUITE_P(Rows, PasswordPromptTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
