// The capture controller's keys of the user settings file "Zentrik.ini".
#include "CaptureController.h"

#include "ProfileFile.h"
#include "ProgramFolder.h"
#include "UserSettingsFormat.h"
#include "WideText.h"
#include "WriteProblem.h"

namespace {

const char kBasic[] = "Basic";
const char kFormat[] = "Format";
const char kMode[] = "Mode";
const char kMergeSetting[] = "MergeSetting";
const char kNameDefine[] = "NameDefine";

// A folder key: an empty value is the default, and a folder that does not exist is created (one level).
// A folder whose name holds a wildcard is left alone: a capture into it says why it cannot be.
// *standIn: the default's folder when it stands in for the unreachable documents folder.
CString ReadFolder(const CProfileFile& file, const char* key, CString* standIn) {
    CString folder = file.ReadText(kBasic, key, "");
    if (folder.IsEmpty()) {
        bool fellBack = false;
        folder = qelapp::DefaultCaptureFolder(&fellBack);
        if (fellBack)
            *standIn = folder;
    }
    const std::string name(static_cast<const char*>(folder));
    if (qelapp::NamesOneFile(name.c_str()) && !qelapp::FolderIsThere(name))
        CreateDirectoryA(folder, nullptr);
    return folder;
}

std::string Text(const CString& text) { return std::string(static_cast<const char*>(text)); }

} // namespace

void CCaptureController::ReadSettings() {
    const CProfileFile file(qelapp::SettingsFilePath());
    CaptureSettings& s = m_settings;
    m_documentsStandIn.Empty();
    s.imageFolder = ReadFolder(file, "Image Folder", &m_documentsStandIn);
    s.videoFolder = ReadFolder(file, "Video Folder", &m_documentsStandIn);
    s.cameraName = file.ReadText(kBasic, "Camera Selection", "");
    const std::string defaultSize = qelapp::FormatSize(qelapp::kDefaultOutputWidth, qelapp::kDefaultOutputHeight);
    s.outputWidth = qelapp::kDefaultOutputWidth;
    s.outputHeight = qelapp::kDefaultOutputHeight;
    qelapp::ParseSize(Text(file.ReadText(kFormat, "Output Size", defaultSize.c_str())), &s.outputWidth,
                      &s.outputHeight);
    s.mirror = file.ReadInt(kBasic, "MirrorSetting", 0);
    s.imageFileType = qelapp::ValidImageFileType(file.ReadInt(kFormat, "Image FileType", qelapp::kDefaultImageFileType));
    s.imageQuality = file.ReadInt(kFormat, "Image Quality", 50);
    s.videoFileType = qelapp::ValidVideoFileType(file.ReadInt(kFormat, "Video FileType", qelapp::kDefaultVideoFileType));
    s.videoQuality = file.ReadInt(kFormat, "Video Quality", 2);
    s.limitCapture = file.ReadInt(kMode, "LimitCapture", 1);
    s.captureTime =
        qelapp::ReadCaptureSeconds(Text(file.ReadText(kMode, "Capture Time", qelapp::DefaultCaptureTimeText().c_str())));
    s.intervalTime = qelapp::ReadIntervalSeconds(
        Text(file.ReadText(kMode, "Interval Time", qelapp::DefaultIntervalTimeText().c_str())));
    s.motionSensitivity = file.ReadInt(kMode, "Motion Detect", 50);
    // A text outside its list keeps the index in force.
    const int frameSize = qelapp::FrameSizeIndexOf(
        Text(file.ReadText(kMergeSetting, "FrameSize", qelapp::FrameSizeText(qelapp::kDefaultFrameSizeIndex).c_str())));
    if (frameSize >= 0)
        s.frameSizeIndex = frameSize;
    const int depth = qelapp::ColorDepthIndexOf(
        Text(file.ReadText(kMergeSetting, "Video", qelapp::ColorDepthText(qelapp::kDefaultColorDepthIndex).c_str())));
    if (depth >= 0)
        s.colorDepthIndex = depth;
    s.frameRate = file.ReadInt(kMergeSetting, "FrameRate", 15);
    s.saveFileType = file.ReadInt(kMergeSetting, "SaveFileType", 1);
    s.videoName = file.ReadText(kNameDefine, "VideoName", qelapp::kDefaultNamePrefix);
    s.imageName = file.ReadText(kNameDefine, "ImageName", qelapp::kDefaultNamePrefix);
    s.videoCount = qelapp::ValidCount(file.ReadInt(kNameDefine, "VideoCount", 1));
    s.imageCount = qelapp::ValidCount(file.ReadInt(kNameDefine, "ImageCount", 1));
    s.useVMR = file.ReadInt(kBasic, "UseVMR", 0);
    s.rotateDegree = static_cast<UINT>(file.ReadInt(kBasic, "RotateDegree", 0));
    s.rotateMethod = static_cast<UINT>(file.ReadInt(kBasic, "RotateMethod", 0));
    s.rotateBgColor = static_cast<DWORD>(file.ReadInt(kBasic, "RotateBgColor", 0));
}

// VideoName, ImageName and UseVMR are never written: only a hand edit sets them.
BOOL CCaptureController::WriteSettings() {
    CProfileFile file(qelapp::SettingsFilePath());
    const CaptureSettings& s = m_settings;
    file.WriteText(kBasic, "Image Folder", s.imageFolder);
    file.WriteText(kBasic, "Video Folder", s.videoFolder);
    file.WriteText(kBasic, "Camera Selection", s.cameraName);
    file.WriteText(kFormat, "Output Size", qelapp::FormatSize(s.outputWidth, s.outputHeight).c_str());
    file.WriteInt(kFormat, "Image FileType", s.imageFileType);
    file.WriteInt(kFormat, "Image Quality", s.imageQuality);
    file.WriteInt(kFormat, "Video FileType", s.videoFileType);
    file.WriteInt(kFormat, "Video Quality", s.videoQuality);
    file.WriteInt(kMode, "LimitCapture", s.limitCapture);
    file.WriteText(kMode, "Capture Time", qelapp::FormatCaptureTime(s.captureTime).c_str());
    file.WriteInt(kMode, "Motion Detect", s.motionSensitivity);
    file.WriteText(kMode, "Interval Time", qelapp::FormatIntervalTime(s.intervalTime).c_str());
    file.WriteInt(kMergeSetting, "FrameRate", s.frameRate);
    file.WriteText(kMergeSetting, "FrameSize", qelapp::FrameSizeText(s.frameSizeIndex).c_str());
    file.WriteText(kMergeSetting, "Video", qelapp::ColorDepthText(s.colorDepthIndex).c_str());
    file.WriteInt(kMergeSetting, "SaveFileType", s.videoFileType);
    file.WriteInt(kBasic, "MirrorSetting", s.mirror);
    file.WriteInt(kBasic, "RotateDegree", static_cast<int>(s.rotateDegree));
    file.WriteInt(kBasic, "RotateMethod", static_cast<int>(s.rotateMethod));
    file.WriteInt(kBasic, "RotateBgColor", static_cast<int>(s.rotateBgColor));
    return file.AllWritten();
}

BOOL CCaptureController::WriteCounters() {
    CProfileFile file(qelapp::SettingsFilePath());
    file.WriteInt(kNameDefine, "VideoCount", m_settings.videoCount);
    file.WriteInt(kNameDefine, "ImageCount", m_settings.imageCount);
    return file.AllWritten();
}

BOOL CCaptureController::WriteVideoFileType(int type) {
    CProfileFile file(qelapp::SettingsFilePath());
    file.WriteInt(kFormat, "Video FileType", type);
    file.WriteInt(kMergeSetting, "SaveFileType", type);
    return file.AllWritten();
}

BOOL CCaptureController::WriteOutputSize(int width, int height) {
    CProfileFile file(qelapp::SettingsFilePath());
    file.WriteText(kFormat, "Output Size", qelapp::FormatSize(width, height).c_str());
    file.WriteText(kMergeSetting, "FrameSize", qelapp::FrameSizeText(m_settings.frameSizeIndex).c_str());
    return file.AllWritten();
}
