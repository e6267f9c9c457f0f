// Every text that the windows of both front ends show, in one table: captions, hints,
// questions, buttons, states and the reasons of failures, in UTF-8. A front end turns them into
// its toolkit's strings at the boundary and never writes a text of its own; line breaks are the
// toolkit's business, so no text here is wrapped by hand.
#pragma once

#include <string_view>

namespace tarvelo::texts {

// The main window, the About box, a sending and its progress dialog, the password prompt.

// The settings dialog, the domain editor and the submission dialog.

}  // namespace tarvelo::texts
