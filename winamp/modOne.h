#pragma once
#include "platform/Win32.h"

namespace winamp {

// The handle of Winamp's main window, shared by everything in the process. Written only
// by Redetect (and the encoder's shut-down); zero when Winamp was not found. Between
// Redetects it may name a window that has gone: every query then answers 0.
extern platform::HWND WinampHandle;

}  // namespace winamp
