#pragma once
// Start-up, the message loop and shutdown of wayfarer.exe.

namespace wf::app {

// Runs the program in its fixed order and returns the exit code of the message
// loop. Errors that escape start-up or shutdown reach the caller.
//
// Start-up: the configuration store, loaded from configtravel.xml beside the
// executable; the maps 0 to 5, each reading its data files (a "File
// not found" box appears before the window); the window, whose creation
// handler loads the places; the atlas, when it was open at the last end.
// Shutdown, once the window is closed: the atlas, which writes its settings;
// the maps, then the configuration store, and the window last, whose
// destruction handler writes the places and so must not touch either.
int RunProgram(int showCommand);

}  // namespace wf::app
