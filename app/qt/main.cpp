#include <cstddef>
#include <cstdio>
#include <span>

#include "app/CommandLine.h"
#include "app/qt/Startup.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    // Before anything is opened: a closed descriptor 2 must not become a file or the socket.
    if (!tarvelo::OpenStandardStreams()) {
        return 1;
    }
    // Read before the application object, which would take Qt's own options.
    const std::span<const char* const> arguments(argv, static_cast<std::size_t>(argc));
    const tarvelo::CommandLineReply reply =
        tarvelo::ReadCommandLine(arguments.empty() ? arguments : arguments.subspan(1));
    if (!reply.run) {
        // Through stdio: the streams of <iostream> would be set up at every start, for these
        // two lines only.
        std::fwrite(reply.output.data(), 1, reply.output.size(), stdout);
        std::fwrite(reply.error.data(), 1, reply.error.size(), stderr);
        return reply.exitStatus;
    }
    return tarvelo::RunTarvelo(argc, argv, reply.menu);
}
