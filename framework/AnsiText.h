#pragma once
// Texts and paths travel as 8-bit strings; Qt wants UTF-16 where it shows
// them. The program's own fixed texts are UTF-8 in the source and stay UTF-8
// where the locale cannot write them.
#include <QString>
#include <string_view>

// The 8-bit text as a person should read it, whatever the locale: by the
// rule for text in no stated encoding (tags/LegacyText.h).
QString FromAnsi(std::string_view text);
