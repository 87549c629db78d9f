#pragma once
// The player's start-up: the application object, the main window, the
// hidden lyrics window and the message loop, all under one exception guard.

struct PlayerOptions {
    // Without it the player has no browser control and so no web engine:
    // what the rest costs, for the memory benchmark to compare with.
    bool lyricsWindow = true;
};

// Runs the player until its main window closes; answers the exit status.
int RunPlayer(int argc, char** argv, const PlayerOptions& options = {});
