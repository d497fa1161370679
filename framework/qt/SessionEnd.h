#pragma once

// A desktop session ends a program in more ways than its Quit command; each
// of them must still close the application, so that its settings are kept.
namespace fw::qt {

// SIGTERM (logout), SIGHUP (the terminal or session going away) and SIGINT
// (Ctrl+C) quit the way the Quit command does, once no command is running.
// A signal that was ignored when the program started (nohup, background
// jobs) stays ignored. Call once the QApplication exists.
void QuitOnSessionSignals();

// When the X server goes away, Qt reports it and ends the process with
// exit(1) from inside the event loop, so that static destructors run under
// the program's feet. The program quits first, while it still can, and ends
// at once with status 1.
void QuitWhenDisplayLost();

}  // namespace fw::qt
