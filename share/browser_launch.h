// Opening a web address in the registered browser: the HTTP open command
// from the registry, its quoted placeholder blanked, the address appended,
// started as a new process. No shell association call is made.
#ifndef VISTELLO_SHARE_BROWSER_LAUNCH_H
#define VISTELLO_SHARE_BROWSER_LAUNCH_H

// The default value of HKEY_CLASSES_ROOT "HTTP\shell\open\command" as a
// new text, used as stored (type not examined, environment references not
// expanded), with its first quoted placeholder blanked as below. Null when
// there is no such value. The caller releases it with free().
char* ReadBrowserCommand();

// Overwrites the first "%1" in double quotes -- four bytes -- with four
// blanks, in place; the text keeps its length. An unquoted %1 and any
// later placeholder stay. The search steps by characters of the ANSI code
// page, so the trail byte of a double-byte character is never taken for
// the opening quote.
void BlankAddressPlaceholder(char* command);

// Starts a command line as a new process and returns at once, without
// waiting for it. An unquoted program path with blanks at its start is
// quoted first (the longest part that names a program file), so no shorter
// path can be started in its place. Reports nothing; a failure starts
// nothing.
void StartBrowser(char* command_line);

// Starts the browser command followed by one blank and the address, which
// is passed on unchanged (a bare host name is the browser's business).
// Does nothing when no browser command is registered.
void LaunchBrowser(const char* address);

#endif  // VISTELLO_SHARE_BROWSER_LAUNCH_H
