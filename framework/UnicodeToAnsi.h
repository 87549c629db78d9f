#pragma once
// The other way of FromAnsi: a Unicode text as 8-bit bytes in the locale's
// encoding, for texts the program itself writes in Unicode (its fixed texts
// are UTF-8 in the source) that travel as 8-bit strings.
#include <QStringView>
#include <string>

// A character the locale cannot write becomes '?'.
std::string ToAnsi(QStringView text);
