#include "settings/DomainList.h"

#include <utility>

#include "base/Error.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "ui/Texts.h"

namespace tarvelo {

void DomainList::Load() {
    // Read before anything changes, so that a file that cannot be read leaves the list.
    entries_ = ReadLineList(kDomainFileName);
    ShowEntries(-1);
}

void DomainList::Add(std::string_view typed, int selected) {
    if (typed.empty()) {
        return;
    }
    // A deleted entry added back unedited keeps its bytes; a typed one is refused while it is
    // still in the edit for correction when the file cannot hold it.
    if (newDomain_.Edited(typed)) {
        const std::string character = FirstUnencodableCharacter(typed);
        if (!character.empty()) {
            throw UnencodableError(texts::kNewDomainLabel, character);
        }
    }
    std::string bytes = newDomain_.Bytes(typed);
    CheckCommandSetting(CommandSetting::GatewayDomain, bytes);
    // Appended as typed, duplicates and blanks included.
    entries_.push_back(std::move(bytes));
    ShowEntries(selected);
    SetNewDomain({});
}

void DomainList::Delete(int selected) {
    // The list never loses its last entry: some gateway must stay in use.
    if (selected < 0 || static_cast<std::size_t>(selected) >= entries_.size() ||
        entries_.size() == 1) {
        return;
    }
    const auto index = static_cast<std::size_t>(selected);
    SetNewDomain(std::move(entries_[index]));
    entries_.erase(entries_.begin() + selected);
    ShowEntries(-1);
}

void DomainList::Ok() {
    WriteLineList(kDomainFileName, entries_);
    SetNewDomain({});
}

void DomainList::Close() {
    SetNewDomain({});
}

void DomainList::ShowEntries(int selected) {
    std::vector<std::string> shown;
    shown.reserve(entries_.size());
    for (const std::string& entry : entries_) {
        shown.push_back(ShiftJisToUtf8(entry));
    }
    view_.entries = std::move(shown);
    view_.selected = selected;
}

void DomainList::SetNewDomain(std::string bytes) {
    view_.newDomain = newDomain_.Load(std::move(bytes));
    newDomainSet_ = true;
}

DomainListView DomainList::TakeView() {
    return std::exchange(view_, DomainListView{});
}

void DomainList::Shown(std::string_view newDomain) {
    if (newDomainSet_) {
        newDomain_.Shown(newDomain);
        newDomainSet_ = false;
    }
}

}  // namespace tarvelo
