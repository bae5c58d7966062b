// Every service the program's core works with: the operating system's, and
// the capture's and file manager's own on top of them.
#pragma once

#include "capture/capture_services.h"
#include "filemanager/file_manager_services.h"
#include "platform/service_bundle.h"

namespace vexlo::shell {

struct Services : platform::ServiceBundle {
  capture::CaptureServices capture;
  filemanager::FileManagerServices fileManager;
};

}  // namespace vexlo::shell
