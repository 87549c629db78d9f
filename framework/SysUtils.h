#pragma once
// String and path routines of the component framework. Texts and paths are
// 8-bit byte strings; nothing here converts their encoding.
#include <string>
#include <string_view>

// An optionally signed decimal number in the 32-bit range ("-12", "+7",
// "007"), or an unsigned hexadecimal one of up to 32 bits introduced by "$",
// "x" or "0x" (either case; "$FFFFFFFF" is -1). Nothing else: no blanks, no
// sign before a hexadecimal number. Otherwise raises EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);
// The error StrToInt raises for text.
[[noreturn]] void RaiseNotAnInteger(std::string_view text);

// text without its leading and trailing bytes of code 32 or below.
std::string Trim(std::string_view text);

// The file-name part of a path: what follows its last "/" (all of it when it
// has none).
std::string ExtractFileName(std::string_view path);

// The folder part of a path: everything up to and including its last "/"
// (empty when it has none).
std::string ExtractFilePath(std::string_view path);
