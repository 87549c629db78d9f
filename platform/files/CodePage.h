#pragma once
// The system's 8-bit code page is the C library's locale (the program sets
// it from the user's environment at start-up): UTF-8 bytes in a UTF-8
// locale, CP949 bytes in ko_KR.CP949. Texts stay byte strings; these are the
// byte rules that depend on it.
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>

constexpr UINT CP_ACP = 0;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

// True when b starts a character of more than one byte in the current
// locale (in CP949: a lead byte of a double-byte character).
bool IsDBCSLeadByte(BYTE b);

// The number of bytes (at least 1) of the character that starts at
// text[at], at < text.size(). A byte that begins no valid character counts
// as a character of its own.
std::size_t characterLength(std::string_view text, std::size_t at);

// ASCII letters of single-byte characters changed; every byte of a
// multi-byte character, and every other byte, kept.
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Converts text from the locale's encoding (codePage CP_ACP; any other code
// page fails) to UTF-16. bytes -1: text is NUL-terminated and the NUL is
// converted too. With a null wide or wideChars 0 it only measures. Answers
// the UTF-16 units written (or needed), 0 on a failure: too small a buffer,
// bytes 0, or with MB_ERR_INVALID_CHARS an invalid byte (otherwise each
// such byte becomes U+FFFD).
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int bytes, char16_t* wide, int wideChars);

// A text written in UTF-8 (as the program's own fixed texts are) as bytes
// in the locale's encoding. Where the locale cannot write one of its
// characters (C, en_US.ISO-8859-1 and Korean) the UTF-8 bytes are kept as
// they are: they read right wherever the program shows them, where '?'
// would not. A byte that is not valid UTF-8 becomes '?'.
std::string Utf8ToAnsi(std::string_view utf8);
