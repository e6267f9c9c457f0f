#include "platform/StandardStreams.h"

namespace tarvelo {

// Nothing to do: a socket is a handle of its own here and the files are opened as handles
// (FilesWin32.cpp), so nothing the program opens can take the number of a closed standard
// descriptor; a closed standard error makes the runtime's writes fail, which loses only them.
bool OpenStandardStreams() {
    return true;
}

}  // namespace tarvelo
