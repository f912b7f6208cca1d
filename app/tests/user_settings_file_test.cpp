// The capture controller's keys of "Zentrik.ini": defaults, the read rules, what is written back and
// what never is, and the TempStorage probe at construction. No engine is started.
#include <gtest/gtest.h>

#include <fstream>

#include "CaptureController.h"
#include "FolderReadOnly.h"
#include "ProgramFolder.h"
#include "program_folder_fixture.h"

namespace {

using apptest::FileExists;

std::string LeadingBlanksDropped(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

class UserSettingsFileTest : public ::testing::Test {
protected:
    // The capture folders stay inside the test's folder.
    std::string Folders() const {
        return "[Basic]\r\nImage Folder=" + program.File("pictures") + "\r\nVideo Folder=" + program.File("videos") +
               "\r\n";
    }
    // Constructs and destroys a controller on this settings text (its destruction writes the file).
    void RoundTrip(const std::string& ini) {
        program.WriteIni(ini);
        CCaptureController controller;
        read = controller.Settings();
    }

    apptest::ScopedProgramFolder program;
    CaptureSettings read;
};

TEST_F(UserSettingsFileTest, MissingModeSectionGivesTheDefaultsWrittenPadded) {
    RoundTrip(Folders());
    EXPECT_EQ(30, read.captureTime);
    EXPECT_EQ(5, read.intervalTime);
    EXPECT_EQ(1, read.limitCapture);
    EXPECT_EQ(50, read.motionSensitivity);
    // The value handed to the profile call is "  0:30" (minutes padded to three places); Wine's profile
    // code drops a value's leading blanks as it writes them.
    EXPECT_EQ("0:30", LeadingBlanksDropped(program.RawValue("Mode", "Capture Time")));
    EXPECT_EQ("00:05", program.RawValue("Mode", "Interval Time"));
    EXPECT_EQ("1", program.RawValue("Mode", "LimitCapture"));
    EXPECT_EQ("50", program.RawValue("Mode", "Motion Detect"));
}

TEST_F(UserSettingsFileTest, MinutesAndSecondsAreAddedAndWrittenBackNormalised) {
    RoundTrip(Folders() + "[Mode]\r\nCapture Time=2:5\r\nInterval Time=1:15\r\n");
    EXPECT_EQ(125, read.captureTime);
    EXPECT_EQ(75, read.intervalTime);
    EXPECT_EQ("2:05", LeadingBlanksDropped(program.RawValue("Mode", "Capture Time")));
    EXPECT_EQ("01:15", program.RawValue("Mode", "Interval Time"));
}

TEST_F(UserSettingsFileTest, MissingFileGivesTheDefaults) {
    CCaptureController controller;
    const CaptureSettings& s = controller.Settings();
    EXPECT_EQ(320, s.outputWidth);
    EXPECT_EQ(240, s.outputHeight);
    EXPECT_EQ(1, s.imageFileType);
    EXPECT_EQ(50, s.imageQuality);
    EXPECT_EQ(2, s.videoQuality);
    EXPECT_EQ(1, s.saveFileType);
    EXPECT_EQ(1, s.recordKind);
    EXPECT_EQ(1, s.videoFileType);
    EXPECT_EQ(2, s.frameSizeIndex);
    EXPECT_EQ(1, s.colorDepthIndex);
    EXPECT_EQ(3, controller.GetBytesPerPixel());
    EXPECT_EQ(15, s.frameRate);
    EXPECT_STREQ("DREM", s.videoName);
    EXPECT_STREQ("DREM", s.imageName);
    EXPECT_EQ(1, s.videoCount);
    EXPECT_EQ(1, s.imageCount);
    EXPECT_TRUE(s.cameraName.IsEmpty());
    EXPECT_EQ(0u, s.rotateDegree);
    // The documents folder + "\Tavorin", created when missing.
    EXPECT_EQ(s.imageFolder.GetLength() - 8, s.imageFolder.Find("\\Tavorin"));
    EXPECT_STREQ(s.imageFolder, s.videoFolder);
    EXPECT_TRUE(FileExists(static_cast<const char*>(s.imageFolder)));
    EXPECT_TRUE(controller.GetDocumentsStandIn().IsEmpty()) << "the documents folder is reached here";
}

TEST_F(UserSettingsFileTest, FoldersThatDoNotExistAreCreatedAndEmptyOnesTakeTheDefault) {
    RoundTrip("[Basic]\r\nImage Folder=" + program.File("new shots") + "\r\nVideo Folder=\r\n");
    EXPECT_STREQ(program.File("new shots").c_str(), read.imageFolder);
    EXPECT_TRUE(FileExists(program.File("new shots")));
    EXPECT_EQ(read.videoFolder.GetLength() - 8, read.videoFolder.Find("\\Tavorin"));
}

TEST_F(UserSettingsFileTest, FrameSizeOrDepthOutsideTheirListsKeepTheIndex) {
    RoundTrip(Folders() + "[MergeSetting]\r\nFrameSize=800x600\r\nVideo=8\r\n");
    EXPECT_EQ(2, read.frameSizeIndex);
    EXPECT_EQ(1, read.colorDepthIndex);
    EXPECT_EQ("320x240", program.RawValue("MergeSetting", "FrameSize"));
    RoundTrip(Folders() + "[MergeSetting]\r\nFrameSize=640x480\r\nVideo=32\r\n");
    EXPECT_EQ(5, read.frameSizeIndex);
    EXPECT_EQ(2, read.colorDepthIndex);
    EXPECT_EQ("640x480", program.RawValue("MergeSetting", "FrameSize"));
    EXPECT_EQ("32", program.RawValue("MergeSetting", "Video"));
}

// A 16-bit setting would give two bytes a pixel, but the grabbed frames have three.
TEST_F(UserSettingsFileTest, MotionFramesAreTheEngines24BitFramesWhateverTheDepthSetting) {
    RoundTrip(Folders() + "[Format]\r\nOutput Size=322x240\r\n[MergeSetting]\r\nVideo=16\r\n");
    CCaptureController controller;
    EXPECT_EQ(2, controller.GetBytesPerPixel());
    EXPECT_EQ(968, controller.GetMotionRowLength()); // 322 x 3 = 966, padded to 968
    EXPECT_EQ(968u * 240u, controller.GetMotionFrameBytes());
}

TEST_F(UserSettingsFileTest, RecordFormatTwoIsWrittenUnderBothKeysAndDecidesTheNextStart) {
    program.WriteIni(Folders());
    {
        CCaptureController controller;
        EXPECT_TRUE(controller.WriteVideoFileType(2));
        EXPECT_EQ("2", program.RawValue("Format", "Video FileType"));
        EXPECT_EQ("2", program.RawValue("MergeSetting", "SaveFileType"));
        EXPECT_TRUE(controller.WriteOutputSize(640, 480));
        EXPECT_EQ("640x480", program.RawValue("Format", "Output Size"));
        EXPECT_EQ("320x240", program.RawValue("MergeSetting", "FrameSize")); // the kept index's text
        // What the controller holds is written back over them at its end.
        controller.Settings().videoFileType = 2;
        controller.Settings().outputWidth = 640;
        controller.Settings().outputHeight = 480;
    }
    CCaptureController next;
    EXPECT_EQ(2, next.Settings().saveFileType);
    EXPECT_EQ(2, next.Settings().recordKind);
    EXPECT_EQ(2, next.Settings().videoFileType);
    EXPECT_EQ(640, next.Settings().outputWidth);
}

// A chosen format outlives leaving live mode, which goes back to SaveFileType, and the close.
TEST_F(UserSettingsFileTest, AChosenRecordFormatIsTheOneWrittenAndUsedNextTime) {
    program.WriteIni(Folders()); // a new user's start: ASF
    {
        CCaptureController controller;
        ASSERT_EQ(1, controller.Settings().videoFileType);
        controller.ChooseRecordFormat(0);
        EXPECT_EQ(0, controller.Settings().videoFileType);
        EXPECT_EQ(0, controller.Settings().saveFileType);
        // Leaving live mode, as the program does before it closes.
        controller.LeaveLiveMode();
        EXPECT_EQ(0, controller.Settings().videoFileType);
        EXPECT_EQ(1, controller.GetMode());
    }
    EXPECT_EQ("0", program.RawValue("Format", "Video FileType"));
    EXPECT_EQ("0", program.RawValue("MergeSetting", "SaveFileType"));
    CCaptureController next;
    EXPECT_EQ(0, next.Settings().recordKind);
    EXPECT_EQ(0, next.Settings().videoFileType);
}

TEST_F(UserSettingsFileTest, PrefixesAreNeverWrittenAndCountersAre) {
    RoundTrip(Folders());
    EXPECT_EQ("<missing>", program.RawValue("NameDefine", "VideoName"));
    EXPECT_EQ("<missing>", program.RawValue("NameDefine", "ImageName"));
    EXPECT_EQ("<missing>", program.RawValue("Basic", "UseVMR"));
    EXPECT_EQ("1", program.RawValue("NameDefine", "VideoCount"));
    RoundTrip(Folders() + "[NameDefine]\r\nVideoName=CLIP\r\nImageName=SHOT\r\nImageCount=41\r\n");
    EXPECT_STREQ("CLIP", read.videoName);
    EXPECT_STREQ("SHOT", read.imageName);
    EXPECT_EQ(41, read.imageCount);
    EXPECT_EQ("CLIP", program.RawValue("NameDefine", "VideoName"));
    EXPECT_EQ("41", program.RawValue("NameDefine", "ImageCount"));
}

// Hand-edited values that would misname files, index past a table or fire a timer every few
// milliseconds read as the defaults (or the nearest sound value).
TEST_F(UserSettingsFileTest, ValuesOutsideTheirRangesReadAsSoundOnes) {
    RoundTrip(Folders() +
              "[Format]\r\nOutput Size=wide\r\nVideo FileType=7\r\nImage FileType=9\r\n"
              "[Mode]\r\nCapture Time=soon\r\nInterval Time=0:0\r\n"
              "[NameDefine]\r\nVideoCount=0\r\nImageCount=12000\r\n");
    EXPECT_EQ(320, read.outputWidth);
    EXPECT_EQ(240, read.outputHeight);
    EXPECT_EQ(1, read.imageFileType);
    EXPECT_EQ(30, read.captureTime);
    EXPECT_EQ(1, read.intervalTime);
    EXPECT_EQ(1, read.videoCount);
    EXPECT_EQ(1, read.imageCount);
    EXPECT_EQ("00:01", program.RawValue("Mode", "Interval Time"));
    EXPECT_EQ("1", program.RawValue("Format", "Image FileType"));
}

TEST_F(UserSettingsFileTest, SaveFileTypeThreeKeepsKindThreeNamedWmv) {
    program.WriteIni(Folders() + "[Format]\r\nVideo FileType=3\r\n[MergeSetting]\r\nSaveFileType=3\r\n");
    CCaptureController controller;
    EXPECT_EQ(3, controller.Settings().recordKind);
    EXPECT_EQ(3, controller.Settings().videoFileType);
    const CString name = controller.MakeVideoFileName();
    EXPECT_STREQ((program.File("videos") + "\\DREM0001.WMV").c_str(), name);
    controller.SetRecordFormat(-1); // no engine: only the kept kind
    EXPECT_EQ(3, controller.Settings().recordKind);
}

TEST_F(UserSettingsFileTest, CaptureNamesSkipTakenFilesAndWrapAfter9999) {
    program.WriteIni(Folders() + "[NameDefine]\r\nImageCount=5\r\n");
    CCaptureController controller;
    std::ofstream(program.File("pictures\\DREM0005.JPG")) << "taken";
    EXPECT_STREQ((program.File("pictures") + "\\DREM0006.JPG").c_str(), controller.MakeImageFileName());
    EXPECT_EQ(7, controller.GetImageCount());
    controller.Settings().imageCount = 9999;
    EXPECT_STREQ((program.File("pictures") + "\\DREM9999.JPG").c_str(), controller.MakeImageFileName());
    EXPECT_EQ(1, controller.GetImageCount());
    controller.Settings().videoCount = 9999;
    controller.NextVideoCount();
    EXPECT_EQ(1, controller.GetVideoCount());
}

// A prefix with a wildcard ('?' stands for a letter the code page lacks) names no file: the name is
// given at once, never searched for, so that the file the pattern matches costs no number.
TEST_F(UserSettingsFileTest, APrefixWithAWildcardIsNeverSearchedFor) {
    program.WriteIni(Folders() + "[NameDefine]\r\nImageName=A?B\r\nVideoName=*\r\n[MergeSetting]\r\nSaveFileType=0\r\n");
    CCaptureController controller;
    std::ofstream(program.File("pictures\\AXB0001.JPG")) << "matched by A?B0001.JPG";
    std::ofstream(program.File("videos\\DREM0001.AVI")) << "matched by *0001.AVI";
    EXPECT_STREQ((program.File("pictures") + "\\A?B0001.JPG").c_str(), controller.MakeImageFileName());
    EXPECT_EQ(2, controller.GetImageCount());
    EXPECT_STREQ((program.File("videos") + "\\*0001.AVI").c_str(), controller.MakeVideoFileName());
    EXPECT_EQ(2, controller.GetVideoCount());
}

TEST_F(UserSettingsFileTest, WritableTempStorageKeepsNoProbeFile) {
    CCaptureController controller;
    EXPECT_FALSE(controller.IsTempFolderReadOnly());
    EXPECT_STREQ((program.Folder() + "TempStorage").c_str(), controller.GetTempFolder());
    EXPECT_TRUE(FileExists(program.Folder() + "TempStorage"));
    EXPECT_FALSE(FileExists(program.Folder() + "TempStorage\\test.txt"));
    EXPECT_FALSE(FileExists(program.Folder() + "TempStoragetest.txt"));
}

TEST_F(UserSettingsFileTest, PlainFileNamedTempStorageMakesTheFolderReadOnly) {
    std::ofstream(program.Folder() + "TempStorage") << "not a folder";
    CCaptureController controller;
    EXPECT_TRUE(controller.IsTempFolderReadOnly());
    EXPECT_FALSE(FileExists(program.Folder() + "TempStoragetest.txt"));
}

TEST(FolderReadOnly, ProbesInsideTheFolderWithOrWithoutItsSeparator) {
    apptest::ScopedProgramFolder program;
    const std::string folder = program.File("writable");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_FALSE(IsFolderReadOnly(folder.c_str()));
    EXPECT_FALSE(IsFolderReadOnly((folder + "\\").c_str()));
    EXPECT_FALSE(FileExists(folder + "\\test.txt"));
    EXPECT_FALSE(FileExists(folder + "test.txt"));
    EXPECT_TRUE(IsFolderReadOnly(nullptr));
    EXPECT_TRUE(IsFolderReadOnly("")) << "an empty folder would probe the current drive's root";
    EXPECT_TRUE(IsFolderReadOnly(program.File("missing").c_str()));
}

} // namespace

namespace {

TEST(ProgramFolder, IsTheRunningProgramsFolderUnlessRedirected) {
    char module[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, module, MAX_PATH));
    std::string folder(module);
    folder.erase(folder.rfind('\\') + 1);
    EXPECT_STREQ(folder.c_str(), qelapp::ProgramFolder());
    EXPECT_STREQ((folder + "Zentrik.ini").c_str(), qelapp::SettingsFilePath());
    ULONGLONG freeBytes = 0;
    EXPECT_TRUE(qelapp::QueryFreeBytes(folder.c_str(), &freeBytes));
    EXPECT_GT(freeBytes, 0u);
    {
        apptest::ScopedProgramFolder program;
        EXPECT_STREQ(program.Folder().c_str(), qelapp::ProgramFolder());
    }
    EXPECT_STREQ(folder.c_str(), qelapp::ProgramFolder());
}

} // namespace
