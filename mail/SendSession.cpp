#include "mail/SendSession.h"

std::vector<std::string> mailLines;
std::unique_ptr<tarvelo::Socket> smtpSocket;
tarvelo::SmtpState smtpState = tarvelo::SmtpState::Greeting;
