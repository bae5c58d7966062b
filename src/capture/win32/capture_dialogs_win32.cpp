#include "capture/win32/capture_dialogs_win32.h"

#include "platform/win32/module_path.h"
#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"

namespace vexlo::capture::win32 {

namespace {

using platform::win32::wideString;

// Room for the longest path the wide file functions take.
constexpr std::size_t kFileBufferLength = 32768;
constexpr wchar_t kMessageTitle[] = L"Vexlo";

}  // namespace

SaveDialogSetup::SaveDialogSetup(const SaveRequest& request, HWND owner, std::u16string initialFolder)
    : filter_(wideString(request.filterName) + L'\0' + wideString(request.filterPattern) + L'\0' + L'\0'),
      title_(wideString(request.title)),
      folder_(wideString(initialFolder)),
      file_(kFileBufferLength, L'\0') {
  fields_.lStructSize = sizeof fields_;
  fields_.hwndOwner = owner;
  fields_.lpstrFilter = filter_.c_str();
  fields_.nFilterIndex = 1;
  fields_.lpstrFile = file_.data();
  fields_.nMaxFile = static_cast<DWORD>(file_.size());
  fields_.lpstrInitialDir = folder_.empty() ? nullptr : folder_.c_str();
  fields_.lpstrTitle = title_.c_str();
  fields_.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
}

std::u16string SaveDialogSetup::chosenPath() const {
  return platform::win32::fromWide(std::wstring_view(file_.data()));
}

std::optional<std::u16string> CaptureDialogsWin32::askSavePath(const SaveRequest& request) {
  SaveDialogSetup setup(request, owner_, platform::win32::executableDirectory());
  auto askFileName = platform::win32::systemFunction<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
  if (!askFileName || !askFileName(&setup.fields())) return std::nullopt;
  return setup.chosenPath();
}

bool CaptureDialogsWin32::askYesNo(std::u16string_view question) {
  return MessageBoxW(owner_, wideString(question).c_str(), kMessageTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CaptureDialogsWin32::showMessage(std::u16string_view text) {
  MessageBoxW(owner_, wideString(text).c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace vexlo::capture::win32
