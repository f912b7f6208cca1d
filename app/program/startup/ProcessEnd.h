#pragma once
// The end of the process once the program has written everything. Work the program gave up on (a play,
// a thumbnail or a still, a viewer's read, whose damaged file hangs the platform) keeps a thread inside
// the platform that nothing can stop. The libraries' teardown of an ordinary exit runs under it: it can
// crash there, or wait for good on a lock that thread held when the exit killed it.
#include <windows.h>

// Threads of the program's work still inside the platform, asked of each owner: the playback library,
// the viewer's work lanes and the thumbnail maker.
int ThreadsLeftInsidePlatform();

// When such a thread is left: flushes the settings file and the C runtime's streams, then ends the
// process with exitCode, skipping the teardown. Returns when none is left (the ordinary exit follows),
// and when the process could not be ended so.
void EndProcessIfWorkIsLeftInside(UINT exitCode);
