// The program's entry: start-up in its fixed order, the message loop, the end.
#pragma once

// Runs the recorder until its main window closes; returns the process exit code.
int Vornakit_more();
