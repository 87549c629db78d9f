#pragma once
// What the player says when the playlist cannot be kept, in UTF-8; the one
// "%s" takes the playlist file's path.
inline constexpr char PlaylistNotSavedTemplate[] = "재생 목록을 저장하지 못했습니다: %s\n"
                                                   "이번에 바꾼 목록은 남지 않습니다.";
