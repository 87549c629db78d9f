// The player's main window alone, without the lyrics window and so without
// its browser control: what the player would cost with no web engine at
// all, for bench_lyrics_memory to compare the real player with.
#include "app/RunPlayer.h"

int main(int argc, char** argv) { return RunPlayer(argc, argv, {.lyricsWindow = false}); }
