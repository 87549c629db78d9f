#pragma once
// Texts and paths travel as 8-bit strings in the locale's encoding; Qt wants
// UTF-16 only where it shows them, and the program's own fixed texts are
// UTF-8 in the source. These are the two ways between them.
#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

// The 8-bit text as the locale reads it; a byte that is not valid in the
// locale shows as U+FFFD.
QString FromAnsi(std::string_view text);

// A Unicode text as 8-bit bytes in the locale's encoding; a character the
// locale cannot write becomes '?'.
std::string ToAnsi(QStringView text);
