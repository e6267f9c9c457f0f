// The two settings files as a store: the window's load, which writes a missing file with its
// defaults, a read-only load for a program without a window, and the promotion of the chosen
// gateway domain. The reading rules are those of ReadLineList for all of them.
#pragma once

#include <cstddef>
#include <string>

#include "settings/LineList.h"
#include "settings/Submission.h"

namespace tarvelo {

// The lines of "tvdomain.ini": the file's own, or, when no file by that name exists, the
// default domains, which are then written to it. Any other failure (a file that cannot be read,
// that is not a regular file, or that is larger than kMaxListFileBytes) raises
// FileOpenError("tvdomain.ini") and leaves the file alone; a failed write of the defaults
// raises FileCreateError("tvdomain.ini").
LineList LoadOrCreateDomains();

// The same for "tvemail.ini": its lines as they stand (the caller takes the first three with
// LineAt), or the default sender, server and reply number, written when the file is missing.
LineList LoadOrCreateSettingsLines();

// The settings as the sending uses them, read from both files and never written.
struct Settings {
    std::string userName;  // line 1 of "tvemail.ini"
    std::string smtp;      // line 2
    std::string resNo;     // line 3
    LineList domains;      // "tvdomain.ini", the gateway in use first
};

// Reads "tvdomain.ini" and then "tvemail.ini", creating and writing nothing. Raises
// FileOpenError naming the first file that is missing or cannot be read (FileMissing tells the
// two apart), and ListIndexError when "tvemail.ini" holds fewer than three lines.
Settings ReadSettings();

// "tvsubmit.ini": line 1 the port, 2 the security word, 3 the login, 4 the CA file; an empty
// line, or one that the file does not reach, leaves its setting unset, and lines after the
// fourth are ignored. No file by that name: SubmissionSettings{}, and nothing is written.
// Raises FileOpenError("tvsubmit.ini") for a file that exists but cannot be read as a list
// (ReadLineList), and SettingValueError naming the line for a port that is not 1 to 65535 or a
// security word that is not one of SecurityWord's.
SubmissionSettings ReadSubmission();

// Writes the four lines (FormatLines, the atomic save of WriteLineList). Settings that are all
// unset create no file; an existing file is then rewritten with four empty lines rather than
// removed, so that a save never takes away a file of the user's and its meaning is the same as
// none. Raises FileCreateError("tvsubmit.ini").
void WriteSubmission(const SubmissionSettings& settings);

// Swaps domains[selected] into the first place, every other entry keeping its place, and
// writes the list to "tvdomain.ini". Does nothing, and writes nothing, when selected is 0 or
// past the end. Raises FileCreateError("tvdomain.ini"); the list is then swapped all the same,
// as the file would have been.
void PromoteDomain(LineList& domains, std::size_t selected);

}  // namespace tarvelo
