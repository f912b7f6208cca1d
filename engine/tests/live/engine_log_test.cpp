// The error log "C:\CLiveCap.log": record format, the log flag and the hidden file.
#include <string>

#include <gtest/gtest.h>

#include "LiveCaptureInternal.h"
#include "../engine_log_file.h"
#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

namespace enginetest {
namespace {

const char* const kLogPath = kEngineLogPath;

std::string ReadWholeFile(const char*) {
    return ReadEngineLog();
}

void RemoveLog() {
    RemoveEngineLog();
}

TEST(EngineLogFormatTest, RecordIsTailFirstThenTheHeadWithoutALineFeed) {
    EXPECT_EQ(std::string("\n\n\nUnspecified error\n in LiveCapture.cpp\n Line 42\n"
                          "CLiveCapture,Err code: -2147467259,Hex: 0x80004005"),
              FormatLiveCapLogRecord(E_FAIL, "Unspecified error", "LiveCapture.cpp", 42).GetString());
    EXPECT_EQ(std::string("\n\n\n\n in a.cpp\n Line 7\nCLiveCapture,Err code: 1167,Hex: 0x0000048f"),
              FormatLiveCapLogRecord(1167, "", "a.cpp", 7).GetString());
}

TEST(EngineLogFormatTest, LongTextsAreNeitherCutNorOverflowed) {
    const std::string text(600, 'e');
    const std::string file(300, 'f');
    const CString record = FormatLiveCapLogRecord(E_FAIL, text.c_str(), file.c_str(), 1);
    EXPECT_NE(std::string::npos,
              std::string(record.GetString()).find(text + "\n in " + file + "\n Line 1\n"));
    EXPECT_EQ(3 + 600 + 5 + 300 + 9 + 50, record.GetLength());
}

class EngineLogFileTest : public qeltest::ComTest {};

// The one test that writes the log file (tests run in parallel processes).
TEST_F(EngineLogFileTest, LogFlagDecidesWhetherFailuresAreAppendedToTheHiddenLog) {
    RemoveLog();
    HostWindow host;
    {
        CLiveCapture quiet;
        EXPECT_EQ(static_cast<HRESULT>(1167),
                  quiet.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
        quiet.MyShowErrMSG(E_FAIL, "quiet.cpp", 1);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kLogPath)) << "no log without the flag";

    CLiveCapture logging;
    EXPECT_EQ(static_cast<HRESULT>(1167),
              logging.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 1));
    const DWORD attributes = GetFileAttributesA(kLogPath);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);

    // The empty camera category is logged by the enumeration and again by the start-up.
    const std::string log = ReadWholeFile(kLogPath);
    const std::string head = "CLiveCapture,Err code: 1,Hex: 0x00000001"; // S_FALSE: the empty category
    EXPECT_NE(std::string::npos, log.find(head)) << log;
    EXPECT_NE(std::string::npos, log.find("CLiveCapture,Err code: 1167,Hex: 0x0000048f")) << log;
    EXPECT_NE(std::string::npos, log.find(" in LiveCaptureDevices.cpp\n Line ")) << log;
    EXPECT_NE(std::string::npos, log.find(" in LiveCapture.cpp\n Line ")) << log;
    EXPECT_EQ(0u, log.find("\n\n\n"));

    // Each further failure appends exactly one record.
    logging.MyShowErrMSG(E_FAIL, "extra.cpp", 99);
    const std::string more = ReadWholeFile(kLogPath);
    ASSERT_GT(more.size(), log.size());
    EXPECT_EQ(log, more.substr(0, log.size()));
    char errorText[160] = {0};
    AMGetErrorTextA(E_FAIL, errorText, sizeof errorText);
    EXPECT_EQ(std::string(FormatLiveCapLogRecord(E_FAIL, errorText, "extra.cpp", 99).GetString()),
              more.substr(log.size()));
    RemoveLog();
}

} // namespace
} // namespace enginetest
