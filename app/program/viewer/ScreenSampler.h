#pragma once
// CScreenSampler: the viewer's reads of the screen, made by ScreenSampler.exe (beside the program)
// rather than in this process, where a read of the display beside a presenting renderer can hang for
// good under Wine. One sampler process serves one owner; it ends when its owner lets go of it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class CScreenSampler {
public:
    // Starts the sampler beside the program; null (and nothing started) when it cannot be started.
    static std::shared_ptr<CScreenSampler> Start();
    ~CScreenSampler();
    CScreenSampler(const CScreenSampler&) = delete;
    CScreenSampler& operator=(const CScreenSampler&) = delete;

    // The screen's colours at the points (0x00BBGGRR), waiting at most limitMs for the answer; empty
    // when the screen could not be read or the sampler did not answer in time (it is not asked again).
    // Never called on the user-interface thread: it waits on another process.
    std::vector<uint32_t> Sample(const std::vector<POINT>& points, DWORD limitMs);

private:
    CScreenSampler(HANDLE process, HANDLE request, HANDLE answer);
    bool ReadAnswer(void* into, DWORD bytes, DWORD deadline);

    std::mutex lock_;
    HANDLE process_;
    HANDLE request_; // the sampler's standard input
    HANDLE answer_;  // its standard output
    bool broken_ = false;
};
