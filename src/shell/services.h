// Every service the program's core works with: the operating system's, and
// the capture's, the file manager's and the preview's own on top of them.
#pragma once

#include "capture/capture_services.h"
#include "filemanager/file_manager_services.h"
#include "formatter/preview_window.h"
#include "platform/service_bundle.h"

namespace vexlo::shell {

struct Services : platform::ServiceBundle {
  capture::CaptureServices capture;
  filemanager::FileManagerServices fileManager;
  formatter::PreviewWindow& preview;
};

}  // namespace vexlo::shell
