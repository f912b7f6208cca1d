#pragma once
// Finishing a recording that a crash or a kill cut short, when the album's scan finds it: the frames
// that reached the disk become a playable file. Runs on the scan's thread, never on the window's.
#include <windows.h>

enum RecordingRepair {
    kRepairNotMarked, // not a file the file sink marked unfinished: left exactly as it was
    kRepairFinished,
    kRepairInUse,     // another handle writes it (a recording still going) or allows no writer: left
                      // for a later scan
    kRepairStopped,   // the stop event came first: still marked, so the next start finishes it
    kRepairGaveUp,    // nothing whole in it, too large to finish, or a read or write failed: left
                      // marked, and not tried again until the program starts anew
};

// Finishes path when it is an AVI the file sink marked unfinished; any other file is left exactly as
// it was. The stop event (manual reset) is polled while the file is walked.
RecordingRepair FinishCutShortRecording(const char* path, HANDLE stopEvent);

// Finishes every cut-short clip of folder. FALSE when the stop event ended it before the last.
BOOL FinishCutShortRecordingsIn(const char* folder, HANDLE stopEvent);
