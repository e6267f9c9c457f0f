// The state of the one sending that can run at a time, shared by the main window's send
// button and timer and by the progress dialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mail/SmtpDriver.h"

// The lines of the outgoing e-mail without line ends; refilled at every press of the send
// button and read while the conversation runs. Empty from before the first window is made.
extern std::vector<std::string> mailLines;

// The running session: its connection and its conversation; none while no session is open.
extern std::unique_ptr<tarvelo::SmtpDriver> smtpSession;
