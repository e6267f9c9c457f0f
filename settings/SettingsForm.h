// The settings dialog's decisions, for both front ends: the load, what the edits hold against
// what was stored, OK's checks in their order, the question about a file changed on disk, the
// chosen gateway and the round trip through the domain editor. It owns no control: a window
// hands it what its controls show and writes back the view that it returns; what a call raises,
// the window shows through RunHandler, and then writes back the view all the same, which holds
// what the call did before it failed.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/LineList.h"
#include "settings/SettingsStore.h"
#include "settings/StoredField.h"

namespace tarvelo {

// The three edits, in the order of their lines in "tvemail.ini".
enum class SettingsField : std::size_t { UserName, Smtp, ResNo };
inline constexpr std::size_t kSettingsFields = 3;
// What the edits show, UTF-8, in that order.
using SettingsTexts = std::array<std::string, kSettingsFields>;

// The answers to the question about a file changed on disk (texts::kLoadAnswer,
// texts::kOverwriteAnswer, texts::kCancel, in that order).
enum class ChangedAnswer { Load, Overwrite, Cancel };

// What a window changes on its controls after a call: only what the call changed.
struct SettingsView {
    std::optional<std::vector<std::string>> domains;  // the entries of centerAdr, UTF-8
    std::optional<int> selected;                      // centerAdr's selection, -1 for none
    std::array<std::optional<std::string>, kSettingsFields> fields;  // texts for the edits
    bool okEnabled = false;
    // Ask this with the three answers, and hand the answer to Answer().
    std::optional<std::string> question;
    bool close = false;  // end the showing
};

// For a window that builds its controls at their first showing: what they are to show is kept
// in held, each view laid over it as writing it to the controls would. A question and the end of
// a showing belong to a showing, and are not kept.
void LayOver(SettingsView& held, SettingsView view);

class SettingsForm {
public:
    // The load (FormActivate), at creation and at every showing. now: what the edits show.
    // Raises FileOpenError, FileCreateError and ListIndexError; what was loaded before the
    // failure is in the view all the same.
    void Load(const SettingsTexts& now);
    // A text typed into an edit, or an entry picked by the user: OK is enabled for good.
    bool Edited();
    // OK, with selected the entry of centerAdr picked. Refuses (raises UnencodableError,
    // CommandCharacterError) and the dialog stays open; asks when a file changed on disk;
    // else promotes the gateway and writes "tvemail.ini", and the showing ends even when a
    // write fails (FileCreateError).
    void Ok(const SettingsTexts& now, int selected);
    // The answer to the question that OK asked.
    void Answer(ChangedAnswer answer);
    // Before the domain editor is shown: the picked gateway goes first, so that the editor
    // sees it there. Raises FileCreateError, and the editor is then not shown.
    void OpenDomainEditor(int selected);
    // After the domain editor closed, however: the list is read again. The fields keep what
    // the user typed meanwhile: it is theirs to save.
    void DomainEditorClosed();

    // What the last calls changed, which the window writes to its controls, and forgets it.
    SettingsView TakeView();
    // What the edits show once the view is written.
    void Shown(const SettingsTexts& now);

    // The bytes of an edit's text as the files and the sending take them.
    std::string FieldBytes(SettingsField field, std::string_view now) const;
    // The gateway in use: the first entry, empty when the list is.
    std::string FirstDomain() const;

private:
    void LoadDomains();
    void ShowDomains();
    // Swaps the picked entry into the first place and writes the list; nothing when the first
    // or none is picked. Raises FileCreateError.
    void Promote(int selected);
    void RefuseUnencodableText(const SettingsTexts& now) const;
    void RefuseCommandCharacters(const SettingsTexts& now, int selected) const;
    std::string ChangedFiles(int selected) const;
    void Save();

    std::array<StoredField, kSettingsFields> fields_;
    // Fields that the last load filled, whose shown text the window is still to tell.
    std::array<bool, kSettingsFields> loaded_{};
    // The entries as the file holds them: what is written back and sent is the file's bytes.
    LineList domains_;
    // Both files as loaded or last written here, to see another instance's save at OK.
    FileContent settingsRead_;
    FileContent domainsRead_;
    bool okEnabled_ = false;
    // What OK was given, for the answer to its question.
    SettingsTexts okTexts_;
    int okSelected_ = -1;
    SettingsView view_;
};

}  // namespace tarvelo
