#include "ScreenSampler.h"

#include <string>

#include <PathHelpers.h>

#include "ScreenSampleWire.h"

namespace {

constexpr char kSamplerFile[] = "ScreenSampler.exe";
// How long the sampler is given to end by itself once its input is closed.
constexpr DWORD kEndWaitMs = 500;

std::string SamplerPath() {
    char folder[MAX_PATH] = {};
    return ql_GetModulePath(nullptr, folder) ? std::string(folder) + kSamplerFile : std::string();
}

void CloseIf(HANDLE handle) {
    if (handle)
        ::CloseHandle(handle);
}

} // namespace

std::shared_ptr<CScreenSampler> CScreenSampler::Start() {
    const std::string path = SamplerPath();
    if (path.empty())
        return nullptr;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE childIn = nullptr, request = nullptr, answer = nullptr, childOut = nullptr;
    if (!::CreatePipe(&childIn, &request, &inherited, 0))
        return nullptr;
    if (!::CreatePipe(&answer, &childOut, &inherited, 0)) {
        CloseIf(childIn);
        CloseIf(request);
        return nullptr;
    }
    // Only the sampler's own ends go to it.
    ::SetHandleInformation(request, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(answer, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = nullptr;
    PROCESS_INFORMATION started = {};
    std::string commandLine = "\"" + path + "\"";
    const BOOL ok = ::CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                     nullptr, &startup, &started);
    CloseIf(childIn);
    CloseIf(childOut);
    if (!ok) {
        CloseIf(request);
        CloseIf(answer);
        return nullptr;
    }
    ::CloseHandle(started.hThread);
    return std::shared_ptr<CScreenSampler>(new CScreenSampler(started.hProcess, request, answer));
}

CScreenSampler::CScreenSampler(HANDLE process, HANDLE request, HANDLE answer)
    : process_(process), request_(request), answer_(answer) {}

CScreenSampler::~CScreenSampler() {
    ::CloseHandle(request_); // its input ends: it ends
    if (::WaitForSingleObject(process_, kEndWaitMs) != WAIT_OBJECT_0)
        ::TerminateProcess(process_, 1);
    ::CloseHandle(answer_);
    ::CloseHandle(process_);
}

bool CScreenSampler::ReadAnswer(void* into, DWORD bytes, DWORD deadline) {
    auto* at = static_cast<BYTE*>(into);
    while (bytes) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(answer_, nullptr, 0, nullptr, &waiting, nullptr))
            return false; // it ended
        if (!waiting) {
            if (static_cast<LONG>(deadline - ::GetTickCount()) <= 0)
                return false;
            ::Sleep(2);
            continue;
        }
        DWORD got = 0;
        if (!::ReadFile(answer_, at, (std::min)(bytes, waiting), &got, nullptr) || !got)
            return false;
        at += got;
        bytes -= got;
    }
    return true;
}

std::vector<uint32_t> CScreenSampler::Sample(const std::vector<POINT>& points, DWORD limitMs) {
    std::vector<uint32_t> samples;
    std::lock_guard<std::mutex> hold(lock_);
    if (broken_ || points.empty() || points.size() > screenwire::kMostPoints)
        return samples;
    const uint32_t count = static_cast<uint32_t>(points.size());
    std::vector<screenwire::Point> request;
    request.reserve(points.size());
    for (const POINT& point : points)
        request.push_back({point.x, point.y});
    // The pipe's buffer holds a whole request: the writes do not wait on the sampler.
    DWORD put = 0, putPoints = 0;
    const DWORD pointBytes = static_cast<DWORD>(request.size() * sizeof(screenwire::Point));
    if (!::WriteFile(request_, &count, sizeof count, &put, nullptr) || put != sizeof count ||
        !::WriteFile(request_, request.data(), pointBytes, &putPoints, nullptr) || putPoints != pointBytes) {
        broken_ = true;
        return samples;
    }
    const DWORD deadline = ::GetTickCount() + limitMs;
    uint32_t answered = 0;
    if (!ReadAnswer(&answered, sizeof answered, deadline) || (answered && answered != count)) {
        broken_ = true; // late or garbled: a later answer could be taken for this one
        return samples;
    }
    samples.resize(answered);
    if (answered && !ReadAnswer(samples.data(), answered * sizeof(uint32_t), deadline)) {
        broken_ = true;
        samples.clear();
    }
    return samples;
}
