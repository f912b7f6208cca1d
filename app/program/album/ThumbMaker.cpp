// The album's thumbnail maker: one dispatcher thread takes the requests in turn and makes each on a
// thread of its own, waiting for it with a limit. A thread that overruns it is left to itself (it is
// typically stuck inside the platform's AVI source); what it shares with the dispatcher is counted
// and freed by whichever lets go last, and it touches GDI+ only while GDI+ is known to be up.
#include "ThumbMaker.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <QelReader.h>
#include <qeldshow/com_ptr.h>

#include <deque>
#include <set>
#include <string>

#include "AlbumRules.h"

ThumbResult::~ThumbResult() { delete thumb; }

namespace {

constexpr DWORD kPictureLimitMs = 10000;
// At the end, how long a thumbnail in the making may keep GDI+ busy.
constexpr DWORD kStopWaitMs = 2000;

struct Job {
    HWND window = nullptr;
    std::string path;
    bool clip = false;
};

// The process's one maker. It is never destroyed: a stuck thread may still reach it at exit.
class Maker {
public:
    Maker() {
        ::InitializeCriticalSection(&lock_);
        wake_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
        stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        gdiplusIdle_ = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    }

    void Request(HWND window, const char* path, bool clip) {
        ::EnterCriticalSection(&lock_);
        if (!stopping_ && wake_ && stop_ && gdiplusIdle_) {
            queue_.push_back(Job{window, path, clip});
            StartDispatcherLocked();
            ::SetEvent(wake_);
        }
        ::LeaveCriticalSection(&lock_);
    }

    void Stop() {
        ::EnterCriticalSection(&lock_);
        stopping_ = true;
        queue_.clear();
        HANDLE dispatcher = dispatcher_;
        dispatcher_ = nullptr;
        ::LeaveCriticalSection(&lock_);
        if (stop_)
            ::SetEvent(stop_);
        if (dispatcher) {
            // The dispatcher waits on the stop event in every wait: it ends at once.
            ::WaitForSingleObject(dispatcher, kStopWaitMs);
            ::CloseHandle(dispatcher);
        }
        if (gdiplusIdle_)
            ::WaitForSingleObject(gdiplusIdle_, kStopWaitMs);
    }

    void NoteUnanswered(const std::string& path) {
        ::EnterCriticalSection(&lock_);
        unanswered_.insert(path);
        ::LeaveCriticalSection(&lock_);
    }
    bool Unanswered(const char* path) {
        ::EnterCriticalSection(&lock_);
        bool found = false;
        for (const std::string& known : unanswered_)
            found = found || lstrcmpiA(known.c_str(), path) == 0;
        ::LeaveCriticalSection(&lock_);
        return found;
    }

    // GDI+ work is done only between these, and none starts once the maker stops.
    bool EnterGdiplus() {
        ::EnterCriticalSection(&lock_);
        const bool allowed = !stopping_;
        if (allowed && gdiplusUsers_++ == 0)
            ::ResetEvent(gdiplusIdle_);
        ::LeaveCriticalSection(&lock_);
        return allowed;
    }
    void LeaveGdiplus() {
        ::EnterCriticalSection(&lock_);
        if (--gdiplusUsers_ == 0)
            ::SetEvent(gdiplusIdle_);
        ::LeaveCriticalSection(&lock_);
    }

private:
    void StartDispatcherLocked() {
        if (dispatcher_)
            return;
        dispatcher_ = ::CreateThread(nullptr, 0, &Maker::DispatcherMain, this, 0, nullptr);
        if (dispatcher_)
            ::SetThreadPriority(dispatcher_, THREAD_PRIORITY_BELOW_NORMAL);
    }

    bool Next(Job* job) {
        for (;;) {
            ::EnterCriticalSection(&lock_);
            const bool any = !queue_.empty() && !stopping_;
            if (any) {
                *job = queue_.front();
                queue_.pop_front();
            }
            ::LeaveCriticalSection(&lock_);
            if (any)
                return true;
            HANDLE waits[2] = {stop_, wake_};
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
                return false;
        }
    }

    static DWORD WINAPI DispatcherMain(LPVOID self) {
        static_cast<Maker*>(self)->Dispatch();
        return 0;
    }
    void Dispatch();
    ThumbResult* MakeWithLimit(const Job& job);

    CRITICAL_SECTION lock_;
    std::deque<Job> queue_;
    HANDLE wake_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE dispatcher_ = nullptr;
    bool stopping_ = false;
    int stuck_ = 0; // threads left behind; only the dispatcher counts them
    int gdiplusUsers_ = 0;
    HANDLE gdiplusIdle_ = nullptr;
    std::set<std::string> unanswered_; // clips given up on
};

Maker& TheMaker() {
    static Maker* maker = new Maker; // never deleted, see Maker
    return *maker;
}

// Deletes a result where GDI+ may still be up, else leaves it (the program is ending).
void DiscardResult(ThumbResult* result) {
    if (!result || !TheMaker().EnterGdiplus())
        return;
    delete result;
    TheMaker().LeaveGdiplus();
}

// A scaled copy of whole at thumbnail size; null when GDI+ is gone or the scaling fails.
CImage* ScaledThumb(CImage& whole) {
    if (!whole.Width() || !whole.Height())
        return nullptr;
    return whole.GetThumbnail(kThumbImageWidth, kThumbImageHeight, Gdiplus::InterpolationModeHighQualityBilinear,
                              PixelFormat24bppRGB);
}

ThumbResult* MakePictureThumb(const std::string& path) {
    auto* result = new ThumbResult;
    if (!TheMaker().EnterGdiplus())
        return result;
    {
        CImage whole; // decoded whole only for the moment of scaling
        if (whole.SetBitmap(path.c_str()))
            result->thumb = ScaledThumb(whole);
    }
    TheMaker().LeaveGdiplus();
    return result;
}

// The record's clip facts and a thumbnail of the chosen frame; opened stays false when the reader
// could not be had or the file not opened.
ThumbResult* MakeClipThumb(const std::string& path) {
    auto* result = new ThumbResult;
    qel::ComPtr<IMediaFrameReader> reader;
    if (FAILED(::CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFrameReader,
                                  reinterpret_cast<void**>(reader.GetAddressOf()))) ||
        !reader)
        return result;
    if (reader->OpenFile(path.c_str()) != S_OK)
        return result;
    result->opened = true;
    VIDEOINFO format = {};
    reader->GetVideoFormat(&format);
    result->framesPerSecond =
        format.AvgTimePerFrame > 0 ? 10000000.0 / static_cast<double>(format.AvgTimePerFrame) : 0.0;
    reader->get_Duration(&result->seconds, 3);
    result->hasAudio = reader->HasAudio() == S_OK;
    const INT64 frameCount = static_cast<INT64>(result->seconds * result->framesPerSecond);
    HGLOBAL frame = nullptr;
    if (SUCCEEDED(reader->ReadVideoFrame(-static_cast<double>(ThumbFrameIndex(frameCount)), &frame)) && frame) {
        if (auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(frame))) {
            result->frameWidth = header->biWidth;
            result->frameHeight = header->biHeight < 0 ? -header->biHeight : header->biHeight;
            if (TheMaker().EnterGdiplus()) {
                {
                    CImage whole(reinterpret_cast<const BITMAPINFO*>(header), DibBits(header));
                    result->thumb = ScaledThumb(whole);
                }
                TheMaker().LeaveGdiplus();
            }
            ::GlobalUnlock(frame);
        }
        ::GlobalFree(frame);
    }
    return result;
}

// One thumbnail in the making, shared by the dispatcher and its thread; the last to let go frees it.
struct Task {
    Job job;
    ThumbResult* result = nullptr;
    LONG refs = 2;

    void Release() {
        if (::InterlockedDecrement(&refs) == 0) {
            DiscardResult(result);
            delete this;
        }
    }
};

DWORD WINAPI TaskMain(LPVOID param) {
    auto* task = static_cast<Task*>(param);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    task->result = task->job.clip ? MakeClipThumb(task->job.path) : MakePictureThumb(task->job.path);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    task->Release();
    return 0;
}

ThumbResult* Maker::MakeWithLimit(const Job& job) {
    auto* task = new Task;
    task->job = job;
    HANDLE thread = ::CreateThread(nullptr, 0, TaskMain, task, 0, nullptr);
    if (!thread) {
        delete task;
        return new ThumbResult; // nothing made; the item asks again at its next paint
    }
    ::SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    HANDLE waits[2] = {thread, stop_};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, job.clip ? kClipThumbLimitMs : kPictureLimitMs);
    ::CloseHandle(thread);
    if (woke == WAIT_OBJECT_0) {
        ThumbResult* result = task->result;
        task->result = nullptr;
        task->Release();
        return result ? result : new ThumbResult;
    }
    task->Release(); // the thread frees the task if it ever comes back
    if (woke != WAIT_TIMEOUT)
        return nullptr; // stopping
    ++stuck_;
    if (job.clip)
        NoteUnanswered(job.path);
    auto* result = new ThumbResult;
    result->timedOut = true;
    return result;
}

void Maker::Dispatch() {
    Job job;
    while (Next(&job)) {
        if (!::IsWindow(job.window))
            continue; // its item went before its turn came
        ThumbResult* result = nullptr;
        if (job.clip && stuck_ >= kMaxStuckThumbThreads) {
            result = new ThumbResult;
            result->timedOut = true; // too many readers hang already: do not leave another behind
            NoteUnanswered(job.path);
        } else {
            result = MakeWithLimit(job);
        }
        if (!result)
            return;
        if (!::PostMessageA(job.window, WM_ZENTRIK_THUMB_READY, 0, reinterpret_cast<LPARAM>(result)))
            DiscardResult(result);
    }
}

} // namespace

void RequestThumbnail(HWND window, const char* path, bool clip) { TheMaker().Request(window, path, clip); }

bool ClipDidNotAnswer(const char* path) { return path && TheMaker().Unanswered(path); }

void StopThumbnailMaking() { TheMaker().Stop(); }
