// Preparing the process for Quorrin's dialogs, shared by the start routine
// and the in-process tests so that both create the templates the same way.
#pragma once

#include <windows.h>

// Limits the loader to the system folder, then COM and OLE in a
// single-threaded apartment, the instance and heap
// handles, the common control classes and the rich-edit library that
// provides RichEdit20A. True when that library was loaded; the start
// routine looks at nothing and runs the window anyway.
bool PrepareProcess();

// Ends OLE and frees the rich-edit library once the main window has ended.
void ReleaseProcess();
