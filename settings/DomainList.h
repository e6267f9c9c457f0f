// The domain editor's decisions, for both front ends: the list read from "tvdomain.ini" at every
// showing, Add and Delete, and OK, which writes it. The editor only appends and deletes, never
// reorders. It owns no control: a window hands it the selection and what NewDomain shows, and
// writes back the view it returns.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/LineList.h"
#include "settings/StoredField.h"

namespace tarvelo {

// What a window changes on its controls after a call: only what the call changed.
struct DomainListView {
    std::optional<std::vector<std::string>> entries;  // the list's entries, UTF-8
    std::optional<int> selected;                      // the list's selection, -1 for none
    std::optional<std::string> newDomain;             // the text of NewDomain
};

class DomainList {
public:
    // The load (FormActivate). Raises FileOpenError, and the list keeps what it held.
    void Load();
    // Appends what NewDomain shows (typed) and empties it; the selection stays. Nothing for an
    // empty text. Raises UnencodableError and CommandCharacterError, and the text stays for
    // the correction.
    void Add(std::string_view typed, int selected);
    // Deletes the selected entry and puts its text into NewDomain, to be corrected and added
    // again; nothing without a selection, and never the last entry.
    void Delete(int selected);
    // Writes the list, first to last, whether or not anything changed. Raises FileCreateError;
    // the window closes all the same.
    void Ok();
    // Every way of closing, OK, Cancel, Esc and the close box: NewDomain is emptied.
    void Close();

    // What the last calls changed, which the window writes to its controls, and forgets it.
    DomainListView TakeView();
    // What NewDomain shows once the view is written.
    void Shown(std::string_view newDomain);

private:
    void ShowEntries(int selected);
    void SetNewDomain(std::string bytes);

    // The entries as the file holds them, or, for one added, as typed (Shift-JIS).
    LineList entries_;
    // NewDomain, which holds a deleted entry's bytes until the user edits its text.
    StoredField newDomain_;
    bool newDomainSet_ = false;
    DomainListView view_;
};

}  // namespace tarvelo
