#pragma once
// The title a track without a tag goes by: its file name, as bytes.
#include <string>

// text without any occurrence of pattern, letter case ignored (both
// upper-cased by the ANSI rules), searched left to right without overlaps;
// a match never starts inside a multi-byte character.
std::string RemoveEveryOccurrence(const std::string& text, const std::string& pattern);

// The file-name part of a path (after its last '/') with every occurrence
// of its extension (from the part's last '.') removed.
std::string TitleFromFileName(const std::string& path);
