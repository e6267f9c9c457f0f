// The Credential Manager side of the secret store, in the test's own wine prefix: what is stored
// is found again byte for byte under the target the user sees in the Credential Manager, and
// only for the same server and login.
#include <windows.h>
// Needs windows.h.
#include <wincred.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SecretStore.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {
namespace {

// A server of this run's own, so that rows of an earlier run cannot answer.
std::string Server(std::string_view name) {
    return std::string(name) + "." + std::to_string(GetCurrentProcessId()) + ".test";
}

class CredentialManagerTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& target : written_) {
            CredDeleteW(WideFromUtf8(target).c_str(), CRED_TYPE_GENERIC, 0);
        }
    }
    bool Store(const std::string& server, std::string_view login, std::string_view password) {
        written_.push_back("Tarvelo:" + std::string(login) + "@" + server);
        return StorePassword(server, login, password);
    }
    std::vector<std::string> written_;
};

struct LookUpRow {
    const char* name;
    const char* storedServer;
    const char* storedLogin;
    const char* password;
    const char* askedServer;
    const char* askedLogin;
    SecretLookup result;
};

class CredentialLookUpTest : public CredentialManagerTest,
                             public ::testing::WithParamInterface<LookUpRow> {};

TEST_P(CredentialLookUpTest, FindsOnlyItsOwn) {
    const LookUpRow& row = GetParam();
    ASSERT_TRUE(Store(Server(row.storedServer), row.storedLogin, row.password));
    const StoredPassword found = LookUpPassword(Server(row.askedServer), row.askedLogin);
    EXPECT_EQ(found.result, row.result);
    EXPECT_EQ(found.password.view(), row.result == SecretLookup::Found ? row.password : "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CredentialLookUpTest,
    ::testing::Values(
        LookUpRow{"SameServerAndLogin", "smtp", "taro", "pw", "smtp", "taro", SecretLookup::Found},
        LookUpRow{"Utf8ByteForByte", "smtp", "太郎", "ぱすわーど pw", "smtp", "太郎",
                  SecretLookup::Found},
        LookUpRow{"EmptyPassword", "smtp", "taro", "", "smtp", "taro", SecretLookup::Found},
        LookUpRow{"AnotherLogin", "smtp", "taro", "pw", "smtp", "jiro", SecretLookup::NotFound},
        LookUpRow{"AnotherServer", "smtp", "taro", "pw", "mail", "taro", SecretLookup::NotFound}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CredentialManagerTest, StoringAgainReplaces) {
    const std::string server = Server("again");
    ASSERT_TRUE(Store(server, "taro", "old"));
    ASSERT_TRUE(Store(server, "taro", "new"));
    EXPECT_EQ(LookUpPassword(server, "taro").password.view(), "new");
}

// What the user finds in the Credential Manager: a generic credential under "Tarvelo:" + login
// + "@" + server, with the login as its user name, kept beyond this logon.
TEST_F(CredentialManagerTest, KeptUnderTheTargetTheUserSees) {
    const std::string server = Server("target");
    ASSERT_TRUE(Store(server, "taro", "pw"));
    PCREDENTIALW credential = nullptr;
    ASSERT_TRUE(CredReadW(WideFromUtf8("Tarvelo:taro@" + server).c_str(), CRED_TYPE_GENERIC, 0,
                          &credential));
    EXPECT_EQ(Utf8FromWide(credential->UserName), "taro");
    EXPECT_EQ(credential->Persist, static_cast<DWORD>(CRED_PERSIST_LOCAL_MACHINE));
    CredFree(credential);
}

}  // namespace
}  // namespace tarvelo
