#pragma once
// The handful of Windows integer and handle types the program is written
// against. A window handle is the Qt object that receives posted messages.
#include <cstdint>

class QObject;

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using BOOL = int;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HWND = QObject*;

constexpr BOOL FALSE_ = 0;
constexpr BOOL TRUE_ = 1;
