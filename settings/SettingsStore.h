// The two settings files as a store: the window's load, which writes a missing file with its
// defaults, a read-only load for a program without a window, and the promotion of the chosen
// gateway domain. The reading rules are those of ReadLineList for all of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/LineList.h"
#include "settings/Submission.h"

namespace tarvelo {

// A settings file's bytes as this program last read or wrote them; none when it was not there.
// Kept by a window between its load and its save, so that a change that another instance of
// the program (or a hand edit) saved in between is not undone without a word.
using FileContent = std::optional<std::string>;

// The lines of "tvdomain.ini": the file's own, or, when no file by that name exists, the
// default domains, which are then written to it. content gets the bytes read or written. Any
// other failure (a file that cannot be read, that is not a regular file, or that is larger than
// kMaxListFileBytes) raises FileOpenError("tvdomain.ini") and leaves the file alone; a failed
// write of the defaults raises FileCreateError("tvdomain.ini").
LineList LoadOrCreateDomains(FileContent& content);

// The same for "tvemail.ini": its lines as they stand (the caller takes the first three with
// LineAt), or the default sender, server and reply number, written when the file is missing.
LineList LoadOrCreateSettingsLines(FileContent& content);

// Whether the file now holds other bytes than loaded, is gone or has appeared. By content, not
// by time stamp: a save of the same bytes, as an unedited OK of another instance makes, undoes
// nothing and is no change. A file that is there but cannot be read counts as unchanged: the
// save then meets its own error.
bool ChangedOnDisk(std::string_view fileName, const FileContent& loaded);

// The settings as the sending uses them, read from both files and never written.
struct Settings {
    std::string userName;  // line 1 of "tvemail.ini"
    std::string smtp;      // line 2
    std::string resNo;     // line 3
    LineList domains;      // "tvdomain.ini", the gateway in use first
};

// The settings that reach the server's commands, by the labels the settings dialog gives them.
enum class CommandSetting { MailAddress, SmtpServer, GatewayDomain };

// Raises CommandCharacterError naming the setting when value holds a space, "<", ">" or a
// control character: in "HELO ", "MAIL FROM:<" and "RCPT TO:<tv@" such a byte would end the
// address early and say something else to the server ("> NOTIFY=NEVER" adds a parameter, a line
// end a command). The server's name is judged alike: no host name holds one. Any other value,
// an empty one and Shift-JIS ones included, passes (no second byte of a double-byte character
// is one of these bytes).
void CheckCommandSetting(CommandSetting setting, std::string_view value);

// Reads "tvdomain.ini" and then "tvemail.ini", creating and writing nothing. Raises
// FileOpenError naming the first file that is missing or cannot be read (FileMissing tells the
// two apart), ListIndexError when "tvemail.ini" holds fewer than three lines, and
// CommandCharacterError for the sender, the server or the gateway in use (CheckCommandSetting).
Settings ReadSettings();

// Raises PlaceholderError while gatewayDomain is one of the default domains, which reach no
// one: a sending to it would go out and be lost. The default sender alone is no reason to stop.
void RefusePlaceholders(std::string_view sender, std::string_view gatewayDomain);

// "tvsubmit.ini": line 1 the port, 2 the security word, 3 the login, 4 the CA file; an empty
// line, or one that the file does not reach, leaves its setting unset, and lines after the
// fourth are ignored. No file by that name: SubmissionSettings{}, and nothing is written.
// Raises FileOpenError("tvsubmit.ini") for a file that exists but cannot be read as a list
// (ReadLineList), ByteOrderMarkError for a file that begins with one, SettingValueError naming
// the line for a port that is not 1 to 65535 or a security word that is not one of
// SecurityWord's, and LoginNulError for a login that holds a NUL.
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
