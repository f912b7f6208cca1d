#pragma once
// CRecordingFacts: the facts of a finished recording (_LITEVIDEOINFO), read through a player graph of
// their own on a thread of their own. Rendering the new file waits on the disk and on the platform's
// source, which the window's thread that stopped the recording must not.
#include <afxwin.h>

#include <memory>

#include <Vostrel.h>

class CRecordingFacts {
public:
    CRecordingFacts();
    ~CRecordingFacts(); // a read under way is not waited for: it ends on its own
    CRecordingFacts(const CRecordingFacts&) = delete;
    CRecordingFacts& operator=(const CRecordingFacts&) = delete;

    // Starts reading path's facts, owner being the window the player's notices go to; the facts of
    // an earlier read are let go.
    void Read(HWND owner, const CString& path);
    // The facts of the last read, waited for at most waitMs; all zero when none was read, it failed,
    // or it did not end in time.
    const _LITEVIDEOINFO& Facts(DWORD waitMs);

    struct Job; // what the reading thread shares with the object, kept alive by both

private:
    std::shared_ptr<Job> job_;
    _LITEVIDEOINFO facts_ = {};
};
