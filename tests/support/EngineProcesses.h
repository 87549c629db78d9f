#pragma once
// Whether this process has the web engine in it yet: its libraries mapped,
// its helper processes started.

// The web engine's helper processes below this process.
int webEngineHelperProcesses();
// True once Qt WebEngine's library is mapped into this process.
bool webEngineLibraryLoaded();
