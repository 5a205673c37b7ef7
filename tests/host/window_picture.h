// A picture of a window as it stands on the screen, written as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace vistrel::host {

// Copies the screen's pixels under `window` (title bar included) into `path`; false when the
// window has no area or the file cannot be written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace vistrel::host
