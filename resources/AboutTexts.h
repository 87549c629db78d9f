#pragma once
// The about box's fixed texts, in UTF-8. The maker's name, e-mail address
// and hosts are build settings; the one "%s" takes the release date.
#include "resources/BuildSettings.h"

inline constexpr char AboutTemplate[] = "Kolvi Lyrics Ver 1.0 (Release Date = %s)\r\n"
                                        "\r\n"
                                        "제작 : " KOLVI_MAKER_NAME " (" KOLVI_MAKER_EMAIL ")\r\n"
                                        "http://" KOLVI_HOME_HOST "\r\n"
                                        "http://" KOLVI_SECOND_HOST;
inline constexpr char ReleaseDate[] = "Sep 11 2002";
inline constexpr char AboutCaption[] = "About";
