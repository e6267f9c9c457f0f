// The three standard descriptors, kept taken for as long as the program runs.
#pragma once

namespace tarvelo {

// Makes sure that descriptors 0, 1 and 2 are open, each on the null device where it was
// closed, so that no file or socket opened later gets one of their numbers: the debug log that
// goes to standard error then never lands in a connection, and a closed standard error loses
// the messages, never the mail. Called first in main, before anything is opened. False when a
// closed one could not be opened on the null device; the program must not go on then.
bool OpenStandardStreams();

}  // namespace tarvelo
