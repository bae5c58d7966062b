#include "platform/win32/input_box_win32.h"

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

// Dialog units: the prompt's six lines on the left, the buttons on the
// right, the answer across the bottom.
constexpr short kWidth = 270;
constexpr short kHeight = 104;
constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kEditHeight = 13;
constexpr short kFontPoints = 9;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// A dialog template in memory: DWORD-aligned items after the header, each
// string NUL-terminated UTF-16.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const wchar_t* font, WORD points) {
    DLGTEMPLATE header = {};
    header.style = style | DS_SETFONT;
    header.cx = width;
    header.cy = height;
    append(&header, sizeof header);
    word(0);  // no menu
    word(0);  // the standard class
    text(L"");
    word(points);
    text(font);
  }

  void item(DWORD style, short x, short y, short width, short height, WORD id, WORD atom, const wchar_t* caption) {
    align();
    DLGITEMTEMPLATE entry = {};
    entry.style = style | WS_CHILD | WS_VISIBLE;
    entry.x = x;
    entry.y = y;
    entry.cx = width;
    entry.cy = height;
    entry.id = id;
    append(&entry, sizeof entry);
    word(0xFFFF);
    word(atom);
    text(caption);
    word(0);  // no creation data
    ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void append(const void* data, std::size_t size) {
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
  }
  void word(WORD value) { append(&value, sizeof value); }
  void text(const wchar_t* value) { append(value, (wcslen(value) + 1) * sizeof(wchar_t)); }
  void align() {
    while (bytes_.size() % sizeof(DWORD)) bytes_.push_back(0);
  }

  std::vector<std::uint8_t> bytes_;
};

struct Question {
  std::wstring prompt;
  std::wstring title;
  std::wstring defaultAnswer;
  std::u16string answer;
};

INT_PTR answer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto& question = *reinterpret_cast<const Question*>(lParam);
      SetWindowTextW(dialog, question.title.c_str());
      SetDlgItemTextW(dialog, kInputBoxPromptId, question.prompt.c_str());
      HWND edit = GetDlgItem(dialog, kInputBoxEditId);
      SetWindowTextW(edit, question.defaultAnswer.c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      // Above the top-most main window that asked.
      SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetForegroundWindow(dialog);
      SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto& question = *reinterpret_cast<Question*>(GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = GetDlgItem(dialog, kInputBoxEditId);
        const int length = GetWindowTextLengthW(edit);
        std::wstring typed(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(edit, typed.data(), length + 1);
        typed.resize(static_cast<std::size_t>(length));
        question.answer = fromWide(typed);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return guardedCallback(
      u"输入框", [&] { return answer(dialog, message, wParam, lParam); }, [] { return INT_PTR{FALSE}; });
}

}  // namespace

std::u16string InputBoxWin32::ask(std::u16string_view prompt, std::u16string_view title,
                                  std::u16string_view defaultAnswer) {
  DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND, kWidth, kHeight,
                     L"MS Shell Dlg", kFontPoints);
  const short buttonLeft = kWidth - kMargin - kButtonWidth;
  const short promptWidth = buttonLeft - 2 * kMargin;
  const short editTop = kHeight - kMargin - kEditHeight;
  box.item(SS_LEFT | SS_NOPREFIX, kMargin, kMargin, promptWidth, editTop - 2 * kMargin, kInputBoxPromptId, kStaticClass,
           L"");
  box.item(BS_DEFPUSHBUTTON | WS_TABSTOP, buttonLeft, kMargin, kButtonWidth, kButtonHeight, IDOK, kButtonClass,
           L"确定");
  box.item(BS_PUSHBUTTON | WS_TABSTOP, buttonLeft, kMargin + kButtonHeight + 4, kButtonWidth, kButtonHeight, IDCANCEL,
           kButtonClass, L"取消");
  box.item(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, editTop, kWidth - 2 * kMargin, kEditHeight,
           kInputBoxEditId, kEditClass, L"");
  Question question{wideString(prompt), wideString(title), wideString(defaultAnswer), {}};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), owner_, dialogProc,
                                                 reinterpret_cast<LPARAM>(&question));
  return result == IDOK ? question.answer : std::u16string();
}

}  // namespace vexlo::platform::win32
