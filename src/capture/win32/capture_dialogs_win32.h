// The capture's dialogs: the save dialog, the replace question and the
// failure message, each owned by the main window.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

// The save dialog's settings for one request. The dialog does not require
// the file to exist (a new name is the usual answer) and asks nothing about
// replacing: the extension is added afterwards, and the question comes then.
class SaveDialogSetup {
 public:
  SaveDialogSetup(const SaveRequest& request, HWND owner, std::u16string initialFolder);
  SaveDialogSetup(const SaveDialogSetup&) = delete;
  SaveDialogSetup& operator=(const SaveDialogSetup&) = delete;

  OPENFILENAMEW& fields() { return fields_; }
  // The path in the file buffer after the dialog returned.
  std::u16string chosenPath() const;

 private:
  std::wstring filter_;  // display text, NUL, pattern, NUL, NUL
  std::wstring title_;
  std::wstring folder_;
  std::vector<wchar_t> file_;
  OPENFILENAMEW fields_ = {};
};

class CaptureDialogsWin32 final : public CaptureDialogs {
 public:
  void setOwner(HWND owner) { owner_ = owner; }
  std::optional<std::u16string> askSavePath(const SaveRequest& request) override;
  bool askYesNo(std::u16string_view question) override;
  void showMessage(std::u16string_view text) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vexlo::capture::win32
