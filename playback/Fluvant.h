#pragma once
// The playback library: plays one file at a time into a window that the caller owns and reports the
// position through a callback. Bound by ordinal (Fluvant.def): lpPlay is ordinal 1, lpStop ordinal 2,
// lpFileHeld ordinal 3, lpPlayAsync ordinal 4, lpWaitUntilDown ordinal 6, lpThreadsLeftInside
// ordinal 7, lpShowVideo ordinal 8. Ordinal 5 is not used: the library's test build
// (playback/tests/testbuild) exports its seam there.
#include <windows.h>

// Called every 67 ms while playing (on the library's progress thread), once when lpStop ends a
// playback before its stop time, and once at the end with current = stop (on the caller's thread).
// Times are 100-ns units; user is the word given to lpPlay (always 0).
typedef void(CALLBACK* lpProgressCallback)(LONGLONG start, LONGLONG stop, LONGLONG current, DWORD user);

// What lpFileHeld answers.
enum LpFileHold { lpNotHeld = 0, lpHeldByGivenUpPlay = 1, lpHeldWhileGoingDown = 2 };

extern "C" {
// Plays file (ANSI path) inside host from start to stop (0: to the end). Answers 0 when it plays, and
// when there is no file or host (nothing to play); otherwise a failure (an HRESULT): the file cannot be
// rendered or run, or its graph made no progress for 10 s (HRESULT_FROM_WIN32(ERROR_TIMEOUT)), in which
// case it is given up and the call returns all the same. A file whose given-up try is still inside the
// platform gets that answer at once; while four given-up tries are, every new one gets
// HRESULT_FROM_WIN32(ERROR_BUSY). A stop asked for from a message sent to the caller's thread while
// the call waits is carried out once the wait looks again: E_ABORT then when nothing played yet.
int WINAPI lpPlay(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback);
// The same play without waiting on the file: the caller's thread goes on with its messages while the
// graph is built and started, and comes back to the library through them. S_OK when the play is
// under way: its outcome, what lpPlay would answer, is then posted to host as outcomeMessage with
// wParam = the outcome and lParam = *play (each play's own number). S_FALSE when there is nothing to
// play; else why it cannot start (the answers of lpPlay that come at once), and nothing is posted.
// lpStop, or another play, before the outcome abandons the play, and no outcome is posted for it.
int WINAPI lpPlayAsync(const char* file, HWND host, LONGLONG start, LONGLONG stop, lpProgressCallback callback,
                       UINT outcomeMessage, DWORD* play);
// Stops the current playback; nothing happens when nothing plays. Called from the callback on the
// progress thread, it ends the reports at once and the caller's thread finishes the stop when it next
// handles its messages. The graph is taken down on a thread of its own: a healthy one is down when
// this returns; one that takes longer goes on behind the caller, which lets go of its renderers when
// it next handles its messages.
void WINAPI lpStop();
// 1 while a given-up play of file (ANSI path) still has a thread inside the platform, which may keep
// the file open: it lets go of it when that thread comes back. 2 while a stopped play's graph of file
// is still going down: it lets go of it once down, or becomes 1 if it makes no progress. 0 otherwise.
int WINAPI lpFileHeld(const char* file);
// Waits at most ms, handling sent messages, until the graphs of stopped plays are down (or given up as
// making no progress): for the end of the process, which a graph still going down can take with it.
// 1 when none is left going down.
int WINAPI lpWaitUntilDown(DWORD ms);
// How many of the library's threads are still inside the platform: given-up plays that have not come
// back and graphs still going down. A process that ends while one is should end without its
// libraries' teardown, which would run under that thread.
int WINAPI lpThreadsLeftInside();
// Whether plays started from now on show their video window (TRUE, the default) or keep
// it hidden (FALSE), for a host that draws the frames itself where the renderer shows nothing. A host
// never shows or hides the renderer's window itself while its graph runs: under Wine that can leave
// the renderer and every thread on the display waiting for good.
void WINAPI lpShowVideo(BOOL show);
}
