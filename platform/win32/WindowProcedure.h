#pragma once

#include "platform/win32/Win32Api.h"

namespace mtd {

// The main window's procedure. CreateWindowExA must pass the Win32WindowSystem, whose
// handlers are set, as its creation parameter.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mtd
