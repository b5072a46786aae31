// The program speaks the ANSI Win32 API only. Any target that links this
// file fails to build when UNICODE slips into its compile definitions.
#include <windows.h>

#if defined(UNICODE) || defined(_UNICODE)
#error "Vistello is built against the ANSI (A) Win32 API; do not define UNICODE"
#endif

static_assert(sizeof(TCHAR) == 1, "TCHAR must be char in the ANSI build");
