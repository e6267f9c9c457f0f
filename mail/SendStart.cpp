#include "mail/SendStart.h"

#include <utility>

#include "mail/MailAssembly.h"
#include "settings/SettingsStore.h"

namespace tarvelo {

SendFields SendFieldsNow(std::string userName, std::string smtp, std::string firstDomain,
                         std::vector<std::string> mailImage) {
    return {.userName = std::move(userName),
            .smtp = std::move(smtp),
            .firstDomain = std::move(firstDomain),
            .mailImage = std::move(mailImage),
            .submission = ReadSubmission()};
}

SendStart::SendStart(SendFields fields, std::string_view dateText) : fields_(std::move(fields)) {
    RefusePlaceholders(fields_.userName, fields_.firstDomain);
    mailLines_ =
        AssembleMailLines(dateText, fields_.userName, fields_.firstDomain, fields_.mailImage);
    target_ = ResolveSubmission(fields_.smtp, fields_.submission);
    RefuseLoginWithoutTls(fields_.smtp, fields_.submission);
}

SendBegun SendStart::Begin(std::unique_ptr<Transport> transport, SecretText password,
                           SendBounds bounds) const {
    auto driver = std::make_unique<SmtpDriver>(
        std::move(transport), target_,
        SmtpSettings{.userName = fields_.userName, .gatewayDomain = fields_.firstDomain},
        std::vector<std::vector<std::string>>{mailLines_}, std::move(password), bounds);
    driver->BeginConnect();
    return {std::move(driver), ConnectingScreen(fields_.smtp)};
}

}  // namespace tarvelo
