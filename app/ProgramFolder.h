#pragma once
// Where the program keeps its files and how much room their disk has. Both come from here alone so
// that tests can point them elsewhere (in qel_app_test_seams only: the installed program has no
// redirection).
#include <afx.h>

namespace qelapp {

// The program's folder with its trailing backslash: the folder of the running program, or the
// folder a test redirected it to.
CString ProgramFolder();
// The program's settings file, "Zentrik.ini" in the program's folder.
CString SettingsFilePath();

// The user's documents folder, created when missing, as an ANSI path that reaches it (its short form
// when the code page cannot hold its name); empty when it cannot be had or reached.
CString DocumentsFolder();
// Where captures go when the settings name no folder: "Tavorin" in the user's documents folder; when
// no ANSI path reaches that folder, "Tavorin" in the program's own folder, and *fellBack is set.
CString DefaultCaptureFolder(bool* fellBack);

// The total free bytes of the disk holding `folder`; FALSE when they cannot be read.
BOOL QueryFreeBytes(const char* folder, ULONGLONG* freeBytes);

#ifdef QEL_TEST_SEAMS
// For tests: a folder (null: the program's own again) and a free-space answer (null: the disk's).
typedef BOOL (*FreeBytesQuery)(const char* folder, ULONGLONG* freeBytes);
void RedirectProgramFolder(const char* folder);
void RedirectFreeBytesQuery(FreeBytesQuery query);
#endif

} // namespace qelapp
