// Who supplies the password of a sending: the one given in this run, the store's, the answer to
// the question; what is kept, and what a refusal forgets.
#include "settings/PasswordSource.h"

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
    std::optional<std::string> answer = "typed";

    PasswordPrompt Prompt() {
        return [this](std::string_view question) -> std::optional<SecretText> {
            questions.emplace_back(question);
            return answer ? std::optional<SecretText>(SecretText(*answer)) : std::nullopt;
        };
    }
};

std::optional<std::string> Given(PasswordSource& source, Asked& asked) {
    const std::optional<SecretText> password =
        source.ForSending("mail.example:587", "taro", asked.Prompt());
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
    asked.answer = "retyped";
    EXPECT_EQ(Given(source, asked), "retyped");
    EXPECT_EQ(asked.questions.size(), 2u);
}

TEST(PasswordSource, ACancelledQuestionGivesNoneAndKeepsNothing) {
    FakeStore store;
    PasswordSource source(store.Side());
    Asked asked;
    asked.answer.reset();
    EXPECT_EQ(Given(source, asked), std::nullopt);
    asked.answer = "typed";
    EXPECT_EQ(Given(source, asked), "typed");
}

TEST(PasswordSource, WithoutAQuestionThePasswordIsEmpty) {
    FakeStore store;
    PasswordSource source(store.Side());
    const std::optional<SecretText> password = source.ForSending("mail", "taro", {});
    ASSERT_TRUE(password);
    EXPECT_TRUE(password->view().empty());
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
