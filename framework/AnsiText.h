#pragma once
// Texts and paths travel as 8-bit strings in the locale's encoding; Qt wants
// UTF-16 only where it shows them.
#include <QString>
#include <string_view>

// The 8-bit text as the locale reads it; a byte that is not valid in the
// locale shows as U+FFFD.
QString FromAnsi(std::string_view text);
