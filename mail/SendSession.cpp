#include "mail/SendSession.h"

std::vector<std::string> mailLines;
std::unique_ptr<tarvelo::Socket> smtpSocket;
std::unique_ptr<tarvelo::SmtpConversation> smtpConversation;
