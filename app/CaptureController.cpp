// The capture controller's life, the engine's start and the device lists.
#include "CaptureController.h"

#include <new>

#include "FolderReadOnly.h"
#include "ProfileFile.h"
#include "ProgramFolder.h"
#include "UserSettingsFormat.h"
#include "WideText.h"

namespace {

// The engine's device name buffer, in wide characters.
constexpr int kDeviceNameChars = 130;
const char kFailedToInitialize[] = "Failed to Initialize Live Mode";

BOOL IsDirectory(const char* path) {
    if (!qelapp::NamesOneFile(path))
        return FALSE; // never searched for: it would match another folder
    CFileFind find;
    if (!find.FindFile(path))
        return FALSE;
    find.FindNextFile(); // moves onto the one match
    return find.IsDirectory();
}

} // namespace

CCaptureController::CCaptureController() : m_lastErrorText("Error") {
    m_tempFolder = qelapp::ProgramFolder() + "TempStorage";
    xCreateTempFolder();
    m_folderReadOnly = ::IsFolderReadOnly(m_tempFolder);
    ReadSettings();
    m_settings.recordKind = qelapp::RecordKindOf(m_settings.saveFileType);
    m_settings.videoFileType = m_settings.recordKind;
}

// A destructor has no one to tell of a failed write; callers that can report one write themselves.
CCaptureController::~CCaptureController() {
    WriteCounters();
    WriteSettings();
    delete m_engine;
}

void CCaptureController::xCreateTempFolder() const {
    if (!IsDirectory(m_tempFolder))
        CreateDirectoryA(m_tempFolder, nullptr);
}

HRESULT CCaptureController::OpenEngine() {
    m_initialized = TRUE;
    if (!m_engine)
        m_engine = new (std::nothrow) CLiveCapture;
    if (!m_engine) {
        m_lastErrorText = kFailedToInitialize;
        return E_OUTOFMEMORY;
    }
    m_captureFileName.Empty();
    const HRESULT hr = m_engine->InitLiveCapture(GetModuleHandleA(nullptr), m_videoWindow, m_notifyWindow, 0);
    if (hr != 0)
        m_lastErrorText = kFailedToInitialize;
    return hr;
}

void CCaptureController::CloseEngine() {
    delete m_engine;
    m_engine = nullptr;
}

void CCaptureController::LeaveLiveMode() {
    m_settings.videoFileType = m_settings.saveFileType;
    CloseEngine();
    SetMode(1);
}

namespace {

int ListDevices(CLiveCapture* engine, DeviceType type, CStringList* names) {
    names->RemoveAll();
    const int count = engine ? engine->GetDeviceNum(type) : 0;
    for (int i = 0; i < count; ++i) {
        WCHAR name[kDeviceNameChars] = {};
        engine->GetDeviceName(type, i, name, kDeviceNameChars);
        names->AddTail(CString(name));
    }
    return count < 0 ? 0 : count;
}

CString NameAt(const CStringList& names, int index) {
    const POSITION at = index >= 0 ? names.FindIndex(index) : nullptr;
    return at ? names.GetAt(at) : CString();
}

} // namespace

// The engine is started first when it has not been: a count taken before would be of no devices.
int CCaptureController::EnumVideoDevices() {
    if (!m_initialized)
        OpenEngine();
    return ListDevices(m_engine, DEVICE_VIDEO, &m_videoDevices);
}

int CCaptureController::EnumAudioDevices() {
    if (!m_initialized)
        OpenEngine();
    return ListDevices(m_engine, DEVICE_AUDIO, &m_audioDevices);
}

CString CCaptureController::GetVideoDeviceName(int index) const { return NameAt(m_videoDevices, index); }
CString CCaptureController::GetAudioDeviceName(int index) const { return NameAt(m_audioDevices, index); }

// Cameras listed by number under [SpecialDevice] get the engine's compatibility flip; the list ends at
// the first missing or empty number.
BOOL CCaptureController::xReadCompatibilityFlip(const char* cameraName) const {
    const CProfileFile file(qelapp::SettingsFilePath());
    for (int number = 1;; ++number) {
        char key[16];
        wsprintfA(key, "%d", number);
        const CString listed = file.ReadText("SpecialDevice", key, "");
        if (listed.IsEmpty())
            return FALSE;
        if (listed.CompareNoCase(cameraName) == 0)
            return TRUE;
    }
}

HRESULT CCaptureController::SelectVideoDevice(const char* name) {
    if (!m_engine || !name)
        return E_UNEXPECTED;
    if (!m_videoDevices.Find(name))
        return E_UNEXPECTED;
    // Rotation off while the device changes.
    m_engine->SetRotateEnable(0, m_settings.rotateDegree, m_settings.rotateMethod, m_settings.rotateBgColor);
    UINT index = 0;
    const HRESULT hr = m_engine->SetUsedDeviceByName(DEVICE_VIDEO, qelapp::Widen(name).c_str(), &index);
    if (hr < 0)
        return hr;
    const BOOL flip = xReadCompatibilityFlip(name);
    if (flip)
        m_engine->SetUsedVideoDeviceName(CString(name));
    m_engine->SetFlipCompatibility(flip ? 1 : 0);
    return hr;
}

HRESULT CCaptureController::SelectAudioDevice(int index, int enable) {
    if (!m_engine)
        return E_UNEXPECTED;
    if (m_audioDevices.IsEmpty()) {
        m_engine->SetUsedDeviceByIndex(DEVICE_AUDIO, -1);
        return E_UNEXPECTED;
    }
    if (!enable)
        return m_engine->SetUsedDeviceByIndex(DEVICE_AUDIO, -1);
    const POSITION at = index >= 0 ? m_audioDevices.FindIndex(index) : nullptr;
    if (!at)
        return E_INVALIDARG;
    UINT chosen = 0;
    return m_engine->SetUsedDeviceByName(DEVICE_AUDIO, qelapp::Widen(m_audioDevices.GetAt(at)).c_str(), &chosen);
}

int CCaptureController::GetFormatCount() {
    int count = 0;
    if (!m_engine || !m_engine->GetVideoFormatNum(&count))
        return 0;
    return count;
}

BOOL CCaptureController::GetFormat(int index, _LiteCapVideoInfo* info) {
    return m_engine && info ? m_engine->GetVideoFormat(index, info) : FALSE;
}

int CCaptureController::SetCaptureSize(int width, int height) {
    const int count = GetFormatCount();
    for (int i = 0; i < count; ++i) {
        _LiteCapVideoInfo format = {};
        if (!GetFormat(i, &format) || format.nWidth != width || format.nHeight != height)
            continue;
        m_settings.outputWidth = width;
        m_settings.outputHeight = height;
        m_engine->EnableVMR(m_settings.useVMR);
        return m_engine->SetVideoFormat(&format);
    }
    return count;
}

void CCaptureController::SetRecordFormat(int kind) {
    if (kind != -1)
        m_settings.recordKind = qelapp::RecordKindOf(kind);
    if (!m_engine)
        return;
    switch (m_settings.recordKind) {
    case 0:
        m_engine->SetRecordFileType(RECORD_AVI_NOAUDIO);
        m_settings.videoFileType = 0;
        break;
    case 1:
        m_engine->SetRecordFileType(RECORD_ASF_PROFILE);
        m_engine->SetProfileID(22);
        m_settings.videoFileType = 1;
        break;
    case 2:
        m_engine->SetRecordFileType(RECORD_ASF_SYSTEM);
        m_settings.videoFileType = 2;
        break;
    default: // kind 3: the engine keeps its own type
        break;
    }
}

void CCaptureController::ChooseRecordFormat(int kind) {
    SetRecordFormat(kind);
    // Leaving live mode goes back to this value: without it a choice lasted only until the next close.
    m_settings.saveFileType = m_settings.recordKind;
    if (m_settings.recordKind <= 2)
        m_settings.videoFileType = m_settings.recordKind;
}

void CCaptureController::SetQualities() {
    if (!m_engine)
        return;
    m_engine->SetQuality(1, m_settings.imageQuality);
    m_engine->SetQuality(0, m_settings.videoQuality);
}

HRESULT CCaptureController::ShowVideoSettings() {
    const HRESULT hr = m_engine ? m_engine->CallOLESettingDlg(OLEDLG_VIDEO_FILTER, nullptr) : E_UNEXPECTED;
    if (hr != 0)
        m_lastErrorText = "Unknown Error";
    return hr;
}
