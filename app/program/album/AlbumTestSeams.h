#pragma once
// What tests may change in the album's work: set only by the test build of the program (at its start,
// from its environment) and by tests that run the album's parts in their own process. Only the parts
// built with QEL_TEST_SEAMS (qel_program_test_seams) have them: the installed program has none.
#include <windows.h>

// Called with the path before every open of a clip's reader, on the job's thread (null: none).
using ClipTryObserver = void (*)(const char* path);
void SetClipTryObserver(ClipTryObserver observer);
void NoteClipTry(const char* path);

// A pause before every read of a repair of a recording cut short, as a slow drive would take (0: none).
void SetRepairReadPause(DWORD ms);
DWORD RepairReadPause();
