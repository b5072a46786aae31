// Finding a window of another running program, for the tools and tests that
// watch a tour executable from outside.
#ifndef VISTELLO_TOOLS_COMMON_PROCESS_WINDOW_H
#define VISTELLO_TOOLS_COMMON_PROCESS_WINDOW_H

#include <windows.h>

// The visible top-level window of class class_name (compared without
// regard to case) that belongs to the process process_id; null while there
// is none.
HWND FindProcessWindow(DWORD process_id, const char* class_name);

#endif  // VISTELLO_TOOLS_COMMON_PROCESS_WINDOW_H
