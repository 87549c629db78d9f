#pragma once
// Files dropped onto a window from the desktop, handed over as the Windows
// shell does: the window receives WM_DROPFILES (sent, not posted) whose
// WParam is a drop handle, asks it for the names and releases it.
#include "platform/win/WinTypes.h"

struct HDROP__;
using HDROP = HDROP__*;

// The index that asks DragQueryFileA for the number of files.
constexpr UINT DragFileCount = 0xFFFFFFFF;

// Makes the window (a QWidget) accept drags of local files, or stop.
void DragAcceptFiles(HWND window, BOOL accept);

// index DragFileCount: the number of files. Otherwise the name at index:
// with a null buffer its length in bytes without the NUL; else at most
// size-1 of its bytes and a NUL copied into buffer, answering the bytes
// copied. 0 for an index out of range or a handle that is not (or no
// longer) valid.
UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size);

// Releases the drop handle; it answers nothing afterwards. A handle also
// ends by itself once its WM_DROPFILES has been handled.
void DragFinish(HDROP drop);
