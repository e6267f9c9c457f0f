#include "settings/SettingsForm.h"

#include <utility>

#include "base/Error.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsFiles.h"
#include "ui/Texts.h"

namespace tarvelo {

namespace {

// The labels that name the edits in the reasons of a refused OK.
constexpr std::array<std::string_view, kSettingsFields> kFieldLabels{
    texts::kMailAddressLabel, texts::kSmtpServerLabel, texts::kResNoLabel};

bool Picked(int selected, const LineList& domains) {
    return selected >= 0 && static_cast<std::size_t>(selected) < domains.size();
}

}  // namespace

void LayOver(SettingsView& held, SettingsView view) {
    if (view.domains) {
        held.domains = std::move(view.domains);
    }
    if (view.selected) {
        held.selected = view.selected;
    }
    for (std::size_t i = 0; i < kSettingsFields; ++i) {
        if (view.fields[i]) {
            held.fields[i] = std::move(view.fields[i]);
        }
    }
    held.okEnabled = view.okEnabled;
}

void SettingsForm::Load(const SettingsTexts& now) {
    LoadDomains();
    const LineList lines = LoadOrCreateSettingsLines(settingsRead_);
    for (std::size_t i = 0; i < kSettingsFields; ++i) {
        // A missing line stops here: the fields before it keep what was just loaded, the
        // others what they hold.
        std::string text = fields_[i].Load(LineAt(lines, i));
        loaded_[i] = true;
        // Setting the text that an edit already holds is no change and does not enable OK;
        // another text counts exactly as if it had been typed.
        if (text != now[i]) {
            view_.fields[i] = std::move(text);
            okEnabled_ = true;
        }
    }
}

void SettingsForm::LoadDomains() {
    // Read before anything changes, so that a file that cannot be read leaves the list.
    domains_ = LoadOrCreateDomains(domainsRead_);
    ShowDomains();
    // Whatever was picked before, each load shows the gateway in use.
    view_.selected = domains_.empty() ? -1 : 0;
}

void SettingsForm::ShowDomains() {
    std::vector<std::string> shown;
    shown.reserve(domains_.size());
    for (const std::string& domain : domains_) {
        shown.push_back(ShiftJisToUtf8(domain));
    }
    view_.domains = std::move(shown);
}

bool SettingsForm::Edited() {
    // Nothing disables it again: once a setting has changed, OK stays available.
    okEnabled_ = true;
    return okEnabled_;
}

void SettingsForm::Ok(const SettingsTexts& now, int selected) {
    // Checked before anything is written; the dialog stays open for the correction.
    RefuseUnencodableText(now);
    RefuseCommandCharacters(now, selected);
    okTexts_ = now;
    okSelected_ = selected;
    const std::string changed = ChangedFiles(selected);
    if (!changed.empty()) {
        view_.question = texts::ChangedOnDiskQuestion(changed);
        return;
    }
    Save();
}

void SettingsForm::Answer(ChangedAnswer answer) {
    switch (answer) {
        case ChangedAnswer::Load:
            // The dialog stays open to show the change, in place of what was typed.
            Load(okTexts_);
            break;
        case ChangedAnswer::Overwrite:
            Save();
            break;
        case ChangedAnswer::Cancel:
            break;
    }
}

void SettingsForm::RefuseUnencodableText(const SettingsTexts& now) const {
    for (std::size_t i = 0; i < kSettingsFields; ++i) {
        // What was read goes back as it came, whatever it holds; only typed text is judged.
        if (!fields_[i].Edited(now[i])) {
            continue;
        }
        const std::string character = FirstUnencodableCharacter(now[i]);
        if (!character.empty()) {
            throw UnencodableError(kFieldLabels[i], character);
        }
    }
}

void SettingsForm::RefuseCommandCharacters(const SettingsTexts& now, int selected) const {
    CheckCommandSetting(CommandSetting::MailAddress, FieldBytes(SettingsField::UserName, now[0]));
    CheckCommandSetting(CommandSetting::SmtpServer, FieldBytes(SettingsField::Smtp, now[1]));
    // The gateway that OK puts in use; the others are judged when they are picked.
    if (Picked(selected, domains_)) {
        CheckCommandSetting(CommandSetting::GatewayDomain,
                            domains_[static_cast<std::size_t>(selected)]);
    }
}

std::string SettingsForm::ChangedFiles(int selected) const {
    std::string changed;
    if (ChangedOnDisk(kSettingsFileName, settingsRead_)) {
        changed = kSettingsFileName;
    }
    // The domain file is written only by a promotion.
    if (selected > 0 && ChangedOnDisk(kDomainFileName, domainsRead_)) {
        changed.append(changed.empty() ? "" : texts::kFileNameSeparator).append(kDomainFileName);
    }
    return changed;
}

void SettingsForm::Save() {
    // Pressing OK ends the showing from here on, even when a write fails: the message box
    // tells why.
    view_.close = true;
    Promote(okSelected_);
    const LineList lines{FieldBytes(SettingsField::UserName, okTexts_[0]),
                         FieldBytes(SettingsField::Smtp, okTexts_[1]),
                         FieldBytes(SettingsField::ResNo, okTexts_[2])};
    WriteLineList(kSettingsFileName, lines);
    settingsRead_ = FormatLines(lines);
}

void SettingsForm::OpenDomainEditor(int selected) {
    Promote(selected);
}

void SettingsForm::Promote(int selected) {
    if (selected <= 0 || !Picked(selected, domains_)) {
        return;
    }
    // PromoteDomain swaps the list before it writes: the list is shown swapped, and the
    // chosen gateway selected in first place, even when the write fails.
    const auto show = [this] {
        ShowDomains();
        view_.selected = 0;
    };
    try {
        PromoteDomain(domains_, static_cast<std::size_t>(selected));
    } catch (const Error&) {
        show();
        throw;
    }
    show();
    domainsRead_ = FormatLines(domains_);
}

void SettingsForm::DomainEditorClosed() {
    LoadDomains();
}

SettingsView SettingsForm::TakeView() {
    view_.okEnabled = okEnabled_;
    return std::exchange(view_, SettingsView{});
}

void SettingsForm::Shown(const SettingsTexts& now) {
    for (std::size_t i = 0; i < kSettingsFields; ++i) {
        if (loaded_[i]) {
            fields_[i].Shown(now[i]);
            loaded_[i] = false;
        }
    }
}

std::string SettingsForm::FieldBytes(SettingsField field, std::string_view now) const {
    return fields_[static_cast<std::size_t>(field)].Bytes(now);
}

std::string SettingsForm::FirstDomain() const {
    return domains_.empty() ? std::string() : domains_.front();
}

}  // namespace tarvelo
