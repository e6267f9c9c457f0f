// Who supplies the password of a sending: the one given in this run, the store's, the answer to
// the question; what is kept, and what a refusal forgets.
#include "settings/PasswordSource.h"

#include "base/Error.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

// A store that keeps what it is given, or that refuses everything, as a locked keyring does.
struct FakeStore {
    bool takes = true;
    std::map<std::string, std::string> kept = {};  // login -> password

    SecretStoreSide Side() {
        return {.lookUp =
                    [this](std::string_view, std::string_view login) {
                        const auto found = kept.find(std::string(login));
                        return found == kept.end()
                                   ? StoredPassword{SecretLookup::NotFound, SecretText()}
                                   : StoredPassword{SecretLookup::Found, SecretText(found->second)};
                    },
                .store =
                    [this](std::string_view, std::string_view login, std::string_view password) {
                        if (takes) {
                            kept[std::string(login)] = std::string(password);
                        }
                        return takes;
                    }};
    }
};

struct Asked {
    std::vector<std::string> questions;
    std::vector<std::string> refusals, problems;
    std::vector<std::string> answers = {"typed"};  // in turn, the last again; none: cancel
    bool save = false;

    PasswordPrompt Prompt() {
        return [this](const PasswordPromptText& text) -> std::optional<PromptAnswer> {
            questions.push_back(text.question);
            refusals.push_back(text.refusal);
            problems.push_back(text.problem);
            if (answers.empty()) {
                return std::nullopt;
            }
            const std::string answer = answers.front();
            if (answers.size() > 1) {
                answers.erase(answers.begin());
            }
            return PromptAnswer{SecretText(answer), save};
        };
    }
};

std::optional<std::string> Given(PasswordSource& source, Asked& asked,
                                 std::string_view refusedReply = {}) {
    const std::optional<SecretText> password =
        source.ForSending("mail.example:587", "taro", asked.Prompt(), refusedReply);
    return password ? std::optional<std::string>(password->view()) : std::nullopt;
}

TEST(PasswordSource, TheStoresPasswordGoesWithoutAQuestion) {
    FakeStore store;
    store.kept["taro"] = "stored";
    PasswordSource source(store.Side());
    Asked asked;
    EXPECT_EQ(Given(source, asked), "stored");
    EXPECT_TRUE(asked.questions.empty());
}

// 「パスワードを保存する」 unchecked.
TEST(PasswordSource, AnAnswerIsKeptInMemoryNotInTheStore) {
    FakeStore store;
    PasswordSource source(store.Side());
    Asked asked;
    EXPECT_EQ(Given(source, asked), "typed");
    EXPECT_EQ(asked.questions, std::vector<std::string>{"taro (mail.example:587) のパスワード"});
    EXPECT_TRUE(store.kept.empty()) << "a mistyped answer must not reach the store";
    EXPECT_EQ(Given(source, asked), "typed");
    EXPECT_EQ(asked.questions.size(), 1u);
}

TEST(PasswordSource, ForgettingARefusedAnswerAsksAgain) {
    FakeStore store;
    PasswordSource source(store.Side());
    Asked asked;
    Given(source, asked);
    source.Forget("mail.example:587", "taro");
    asked.answers = {"retyped"};
    EXPECT_EQ(Given(source, asked), "retyped");
    EXPECT_EQ(asked.questions.size(), 2u);
}

TEST(PasswordSource, ACancelledQuestionGivesNoneAndKeepsNothing) {
    FakeStore store;
    PasswordSource source(store.Side());
    Asked asked;
    asked.answers.clear();
    EXPECT_EQ(Given(source, asked), std::nullopt);
    asked.answers = {"typed"};
    EXPECT_EQ(Given(source, asked), "typed");
}

// 「パスワードを保存する」 checked: as the settings' password field keeps one.
TEST(PasswordSource, ACheckedAnswerGoesIntoTheStore) {
    FakeStore store;
    PasswordSource source(store.Side());
    Asked asked;
    asked.save = true;
    EXPECT_EQ(Given(source, asked), "typed");
    EXPECT_EQ(store.kept["taro"], "typed");
}

// An empty password never goes out: without a question to ask, the sending is refused.
TEST(PasswordSource, WithoutAQuestionNoPasswordIsRefused) {
    FakeStore store;
    PasswordSource source(store.Side());
    EXPECT_THROW(source.ForSending("mail", "taro", {}), Error);
}

// The question comes again with the reason of a password that cannot go out, and after a
// refused login whatever is kept, saying why; its answer replaces the refused one.
TEST(PasswordSource, AskedAgainWithTheReason) {
    FakeStore store;
    store.kept["taro"] = "stored";
    PasswordSource source(store.Side());
    Asked asked;
    asked.answers = {"", "a\nb", "right"};
    asked.save = true;
    EXPECT_EQ(Given(source, asked, "535 5.7.8 no"), "right");
    EXPECT_EQ(asked.refusals,
              std::vector<std::string>(3, "ログインできませんでした: 535 5.7.8 no"));
    EXPECT_EQ(asked.problems, (std::vector<std::string>{"", "パスワードが空です",
                                                        "パスワードに NUL、CR、LF は使えません"}));
    EXPECT_EQ(store.kept["taro"], "right");
}

struct KeepCase {
    const char* name;
    bool storeTakes;
    bool inStore;
};

const KeepCase kKeeps[] = {
    {"IntoTheStoreWhenItTakesIt", true, true},
    // A locked keyring: in memory until the program ends, so the sending needs no question.
    {"InMemoryWhenTheStoreRefuses", false, false},
};

class PasswordSourceKeep : public testing::TestWithParam<KeepCase> {};

TEST_P(PasswordSourceKeep, ThePasswordOfTheSettingsGoesWithoutAQuestion) {
    const KeepCase& row = GetParam();
    FakeStore store{.takes = row.storeTakes};
    PasswordSource source(store.Side());
    source.Keep("mail.example:587", "taro", "set");
    EXPECT_EQ(store.kept.count("taro") == 1, row.inStore);
    Asked asked;
    EXPECT_EQ(Given(source, asked), "set");
    EXPECT_TRUE(asked.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, PasswordSourceKeep, testing::ValuesIn(kKeeps),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
