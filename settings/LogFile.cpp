#include "settings/LogFile.h"

#include <string>

#include "base/Error.h"
#include "base/Version.h"

namespace tarvelo {

LineList LogBlock(const LineList& logLines) {
    LineList block;
    block.reserve(logLines.size() + 1);
    block.push_back("--- Logging by " + std::string(kVersionText) + " ---");
    block.insert(block.end(), logLines.begin(), logLines.end());
    return block;
}

void SaveLogBlock(std::string_view fileName, const LineList& logLines) {
    switch (AppendLineList(fileName, LogBlock(logLines))) {
        case AppendResult::Appended:
            return;
        case AppendResult::OpenFailed:
            throw LogOpenError();
        case AppendResult::WriteFailed:
            throw LogWriteError();
    }
}

}  // namespace tarvelo
