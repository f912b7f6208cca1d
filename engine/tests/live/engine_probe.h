#pragma once
// The engine object with its state opened up for the tests.
#include <Vostrel.h>
#include <qedit.h>

namespace enginetest {

class EngineProbe : public CLiveCapture {
public:
    using CLiveCapture::m_bGrabberReady;
    using CLiveCapture::m_bihGrabber;
    using CLiveCapture::m_bLogToFile;
    using CLiveCapture::m_bPreviewBuilt;
    using CLiveCapture::m_bResolutionLowered;
    using CLiveCapture::m_bShowPreview;
    using CLiveCapture::m_bSnapCallerBuffer;
    using CLiveCapture::m_bSnapPending;
    using CLiveCapture::m_bUseVMR;
    using CLiveCapture::m_hNotifyWnd;
    using CLiveCapture::m_hPictureWnd;
    using CLiveCapture::m_hr;
    using CLiveCapture::m_hSinkWnd;
    using CLiveCapture::m_hVideoWnd;
    using CLiveCapture::m_nCurAudioCpr;
    using CLiveCapture::m_nCurAudioDevice;
    using CLiveCapture::m_nCurVideoCpr;
    using CLiveCapture::m_nCurVideoDevice;
    using CLiveCapture::m_nDateTimePadding;
    using CLiveCapture::m_nFlipCompatibility;
    using CLiveCapture::m_nFrameRate;
    using CLiveCapture::m_nImageQuality;
    using CLiveCapture::m_nProfileID;
    using CLiveCapture::m_nSavedHeight;
    using CLiveCapture::m_nSavedWidth;
    using CLiveCapture::m_nSnapLength;
    using CLiveCapture::m_nVideoQuality;
    using CLiveCapture::m_pfnNotifyProc;
    using CLiveCapture::m_pGrabberCB;
    using CLiveCapture::m_pGrabberFilter;
    using CLiveCapture::m_pGraph;
    using CLiveCapture::m_pProcAmp;
    using CLiveCapture::m_pSnapBuffer;
    using CLiveCapture::m_pVideoCapFilter;
    using CLiveCapture::m_pVideoConfig;
    using CLiveCapture::m_rcShow;
    using CLiveCapture::m_recordFileType;
    using CLiveCapture::m_state;
    using CLiveCapture::m_szSnapFile;
    using CLiveCapture::m_pMediaEvent;
    using CLiveCapture::m_bWantPreview;
    using CLiveCapture::HandleDirectShowNotify;
    using CLiveCapture::m_wszCaptureFile;

    // The sample-grabber callback as the grabber calls it.
    ISampleGrabberCB* GrabberCallback() const;
};

} // namespace enginetest
