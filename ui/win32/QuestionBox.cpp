#include "ui/win32/QuestionBox.h"

#include <algorithm>
#include <vector>

#include "base/Version.h"
#include "platform/Utf16Win32.h"
#include "ui/win32/Form.h"

namespace tarvelo::win32 {

namespace {

constexpr int kMargin = 12;
constexpr int kTextWidth = 400;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;
constexpr int kFirstAnswerId = 100;

class QuestionBox : public Form {
public:
    QuestionBox(std::string_view text, std::span<const std::string_view> answers)
        : count_(answers.size()) {
        const int textHeight = TextHeight(text);
        const int buttonsTop = kMargin + textHeight + kMargin;
        const int width = kMargin + kTextWidth + kMargin;
        Create(L"TQuestionBox", kApplicationTitle, kDialogStyle, width,
               buttonsTop + kButtonHeight + kMargin, GetActiveWindow());
        HWND label = nullptr;
        std::vector<HWND> buttons(answers.size());
        std::vector<ControlSpec> controls;
        // The buttons first, so that the tab order starts at the first answer.
        int left = width - kMargin -
                   static_cast<int>(answers.size()) * (kButtonWidth + kButtonGap) + kButtonGap;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            controls.push_back(
                {&buttons[i], L"BUTTON", answers[i],
                 static_cast<DWORD>(i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, left,
                 buttonsTop, kButtonWidth, kButtonHeight, Id(i)});
            left += kButtonWidth + kButtonGap;
        }
        controls.push_back({&label, L"STATIC", text, SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
                            kTextWidth, textHeight});
        MakeControls(hwnd, PGothicFont(), controls);
    }

    std::size_t Ask() {
        CenterOnScreen();
        const int result = ShowModal();
        // Enter in the dialog's loop is IDOK, Esc and the close box IDCANCEL.
        if (result == IDOK) {
            return 0;
        }
        if (result >= kFirstAnswerId &&
            static_cast<std::size_t>(result - kFirstAnswerId) < count_) {
            return static_cast<std::size_t>(result - kFirstAnswerId);
        }
        return count_ - 1;
    }

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            EndModal(LOWORD(wParam));
            return 0;
        }
        return Form::Handle(message, wParam, lParam);
    }

private:
    static int Id(std::size_t answer) { return kFirstAnswerId + static_cast<int>(answer); }

    // The height that the text takes at the box's width, wrapped by the window system.
    static int TextHeight(std::string_view text) {
        const std::wstring wide = WideFromUtf8(text);
        HDC context = GetDC(nullptr);
        const HGDIOBJ old = SelectObject(context, PGothicFont());
        RECT rect{0, 0, kTextWidth, 0};
        DrawTextW(context, wide.c_str(), static_cast<int>(wide.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
        SelectObject(context, old);
        ReleaseDC(nullptr, context);
        return std::max(static_cast<int>(rect.bottom), kButtonHeight);
    }

    std::size_t count_;
};

}  // namespace

std::size_t AskQuestion(std::string_view text, std::span<const std::string_view> answers) {
    QuestionBox box(text, answers);
    return box.Ask();
}

}  // namespace tarvelo::win32
