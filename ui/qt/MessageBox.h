// The look that every message box of the Qt windows shares.
#pragma once

class QMessageBox;

namespace tarvelo {

// Gives a box the look of the error boxes: the application's title, plain text in the windows'
// font with fallbacks, and room for the whole title. For a box that asks rather than tells.
void StyleMessageBox(QMessageBox& box);

}  // namespace tarvelo
