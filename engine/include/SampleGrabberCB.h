#pragma once
// CSampleGrabberCB: a sample-grabber callback that writes every frame it is given as a 24-bit BMP
// file, and two small graphs that feed it (all frames from the start, or one frame at a position).
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "VostrelApi.h"

class VOSTREL_API CSampleGrabberCB : public ISampleGrabberCB {
public:
    CSampleGrabberCB();
    ~CSampleGrabberCB() = default;
    CSampleGrabberCB(const CSampleGrabberCB&) = default;
    CSampleGrabberCB& operator=(const CSampleGrabberCB&) = default;

    // No reference counting: the owner keeps the object alive while a grabber holds it.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP SampleCB(double sampleTime, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double sampleTime, BYTE* buffer, long length) override;

    // Every frame of the file from its start through SampleCB (the 64-bit value is not used).
    HRESULT GrabSamples(char* mediaFile, LONGLONG unused);
    // One frame at start (100-ns units) through BufferCB; failures are shown and give 1.
    HRESULT FrameSnatch(char* mediaFile, LONGLONG start);

    char m_szFileName[MAX_PATH]; // the BMP file the callbacks write; set by the owner
    long m_lWidth;               // frame size for the BMP header, from the grabber's media type
    long m_lHeight;

private:
    void WriteBitmap(const BYTE* data, long length);
    void TakeFrameSize(ISampleGrabber* grabber);
};
