// Whether this Windows test program runs under Wine without an X display, where no window can be created:
// the window tests skip themselves there. On Windows there is always a display.
#pragma once

#include <windows.h>

namespace testing_support {

inline bool NoDisplayUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  bool wine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return wine && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0 &&
         GetEnvironmentVariableW(L"WAYLAND_DISPLAY", nullptr, 0) == 0;
}

}  // namespace testing_support
