#pragma once
// The Windows "_l" file calls over POSIX descriptors: open, seek, read and
// close of a whole file, results as the Windows calls give them.
#include "platform/win/WinTypes.h"

using HFILE = int;
constexpr HFILE HFILE_ERROR = -1;

// _lopen access modes (the share-mode bits are accepted and have no effect).
constexpr int OF_READ = 0x0000;
constexpr int OF_WRITE = 0x0001;
constexpr int OF_READWRITE = 0x0002;

// _llseek origins.
constexpr int FILE_BEGIN = 0;
constexpr int FILE_CURRENT = 1;
constexpr int FILE_END = 2;

// A handle, or HFILE_ERROR when the file cannot be opened.
HFILE _lopen(const char* path, int mode);
// The new position from the file's start, or HFILE_ERROR (for example when
// the position would lie before the start).
long _llseek(HFILE file, long offset, int origin);
// Bytes read (fewer than asked only at the end of the file), or
// UINT(HFILE_ERROR) on a failure.
UINT _lread(HFILE file, void* buffer, UINT bytes);
// 0, or HFILE_ERROR when the handle was not open.
HFILE _lclose(HFILE file);
