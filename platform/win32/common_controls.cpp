#include "platform/win32/common_controls.h"

#include <windows.h>
#include <commctrl.h>

namespace platform::win32 {

void initCommonControls() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
  InitCommonControlsEx(&classes);
}

}  // namespace platform::win32
