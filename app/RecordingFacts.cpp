#include "RecordingFacts.h"

#include <objbase.h>

#include <string>

#include "WideText.h"

struct CRecordingFacts::Job {
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND owner = nullptr;
    std::wstring path;
    _LITEVIDEOINFO facts = {}; // written by the thread before done is set, read only after
    bool read = false;

    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    ~Job() {
        if (done)
            ::CloseHandle(done);
    }
};

namespace {

DWORD WINAPI ReadFacts(void* parameter) {
    std::unique_ptr<std::shared_ptr<CRecordingFacts::Job>> holder(
        static_cast<std::shared_ptr<CRecordingFacts::Job>*>(parameter));
    CRecordingFacts::Job& job = **holder;
    // The player's graph, its renderers and the media detector belong to this thread alone.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CGraphBuilder player;
        if (SUCCEEDED(player.Init2(job.owner, job.path.c_str(), 1)))
            job.read = SUCCEEDED(player.GetVideoInfo2(&job.facts));
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    ::SetEvent(job.done);
    return 0;
}

} // namespace

CRecordingFacts::CRecordingFacts() = default;
CRecordingFacts::~CRecordingFacts() = default;

void CRecordingFacts::Read(HWND owner, const CString& path) {
    facts_ = _LITEVIDEOINFO();
    job_ = std::make_shared<Job>();
    job_->owner = owner;
    job_->path = qelapp::Widen(path);
    auto* parameter = new std::shared_ptr<Job>(job_);
    HANDLE thread = job_->done ? ::CreateThread(nullptr, 0, ReadFacts, parameter, 0, nullptr) : nullptr;
    if (!thread) {
        delete parameter;
        job_.reset(); // no facts, as when the file cannot be rendered
        return;
    }
    ::CloseHandle(thread);
}

const _LITEVIDEOINFO& CRecordingFacts::Facts(DWORD waitMs) {
    if (job_ && ::WaitForSingleObject(job_->done, waitMs) == WAIT_OBJECT_0) {
        if (job_->read)
            facts_ = job_->facts;
        job_.reset();
    }
    return facts_;
}
