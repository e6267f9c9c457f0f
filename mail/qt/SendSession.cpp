#include "mail/qt/SendSession.h"

std::vector<std::string> mailLines;
std::unique_ptr<tarvelo::SmtpDriver> smtpSession;
