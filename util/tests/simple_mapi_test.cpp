// CSimpleMapi against our own recording mail client, registered in the prefix's mail key for each test.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "qeltest/mail_client_key.h"
#include "qeltest/temp_dir.h"
#include "test_folder.h"

namespace {

using utiltest::TestFolder;

const std::string kFullClient = TestFolder() + "qel_fake_mapi.dll";
const std::string kPartialClient = TestFolder() + "qel_fake_mapi_partial.dll";
// A window handle wider than 32 bits: the client must see it whole (it never uses it as a window).
const HWND kWideParent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFE12345678ULL));

// Exposes the protected library lookup.
class MapiProbe : public CSimpleMapi {
public:
    using CSimpleMapi::GetMapiDll;
};

class SimpleMapiTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("QEL_FAKE_MAPI_LOG", log_.c_str());
        SetEnvironmentVariableA("QEL_FAKE_MAPI_LOGON", nullptr);
        SetEnvironmentVariableA("QEL_FAKE_MAPI_SEND", nullptr);
    }
    void TearDown() override { SetEnvironmentVariableA("QEL_FAKE_MAPI_LOG", nullptr); }

    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // The log's lines that record calls (not the library's loading).
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        for (const std::string& line : Log()) {
            if (line.rfind("load ", 0) != 0)
                calls.push_back(line);
        }
        return calls;
    }

    qeltest::TempDir dir_;
    std::string log_ = dir_.File("mapi.log");
    qeltest::ScopedMailClient client_;
};

bool ClientLoaded() {
    return GetModuleHandleA("qel_fake_mapi.dll") != nullptr || GetModuleHandleA("qel_fake_mapi_partial.dll") != nullptr;
}

TEST_F(SimpleMapiTest, DllPathExWinsOverDllPath) {
    ASSERT_TRUE(client_.SetValue("DllPath", kPartialClient));
    ASSERT_TRUE(client_.SetValue("DllPathEx", kFullClient));
    char found[MAX_PATH] = {};
    ASSERT_EQ(1, MapiProbe::GetMapiDll(found));
    EXPECT_EQ(kFullClient, found);
    {
        CSimpleMapi mail;
        EXPECT_EQ(0u, mail.Logon(nullptr, nullptr, nullptr));
    }
    const std::vector<std::string> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("load " + kFullClient, log.front());
}

TEST_F(SimpleMapiTest, AnExpandableDllPathIsExpanded) {
    char windows[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("SystemRoot", windows, MAX_PATH));
    const std::string copy = std::string(windows) + "\\qel_fake_mapi_expanded.dll";
    ASSERT_TRUE(CopyFileA(kFullClient.c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(client_.SetValue("DllPath", "%SystemRoot%\\qel_fake_mapi_expanded.dll", REG_EXPAND_SZ));

    char found[MAX_PATH] = {};
    ASSERT_EQ(1, MapiProbe::GetMapiDll(found));
    EXPECT_STRCASEEQ(copy.c_str(), found);
    {
        CSimpleMapi mail;
        EXPECT_EQ(0u, mail.Logon(nullptr, nullptr, nullptr));
        EXPECT_NE(nullptr, GetModuleHandleA("qel_fake_mapi_expanded.dll"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("qel_fake_mapi_expanded.dll"));
    DeleteFileA(copy.c_str());
}

TEST_F(SimpleMapiTest, ValuesThatDoNotFitCountAsAbsent) {
    // A value one character past the buffer, then a REG_EXPAND_SZ that fits only before expansion.
    const std::string tooLong = "C:\\" + std::string(297, 'a');
    const std::string growsTooLong = "%SystemRoot%\\" + std::string(250, 'b');
    struct Guarded {
        char out[MAX_PATH];
        char guard[64];
    } buffer;
    std::memset(&buffer, 0x5A, sizeof buffer);
    const std::string untouched(sizeof buffer.guard, 0x5A);

    ASSERT_TRUE(client_.SetValue("DllPathEx", tooLong));
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    ASSERT_EQ(1, MapiProbe::GetMapiDll(buffer.out));
    EXPECT_EQ(kFullClient, buffer.out);
    EXPECT_EQ(untouched, std::string(buffer.guard, sizeof buffer.guard));

    ASSERT_TRUE(client_.SetValue("DllPath", growsTooLong, REG_EXPAND_SZ));
    std::memset(&buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(0, MapiProbe::GetMapiDll(buffer.out));
    EXPECT_EQ(untouched, std::string(buffer.guard, sizeof buffer.guard));
}

TEST_F(SimpleMapiTest, NoClientNamedFindsNoLibrary) {
    char found[MAX_PATH] = {};
    EXPECT_EQ(0, MapiProbe::GetMapiDll(found)); // the client key has neither value
}

TEST_F(SimpleMapiTest, MapiSwitchedOffLoadsNothing) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    ASSERT_TRUE(client_.SetMapiSwitch("0"));
    CSimpleMapi mail;
    EXPECT_EQ(2u, mail.Logon(nullptr, nullptr, nullptr));
    EXPECT_EQ(2u, mail.SendMail(nullptr, nullptr, MAPI_DIALOG));
    EXPECT_EQ(nullptr, CSimpleMapi::m_hMAPILibrary);
    EXPECT_FALSE(ClientLoaded());
    EXPECT_TRUE(Log().empty());
}

TEST_F(SimpleMapiTest, AMissingEntryPointMakesMapiUnavailable) {
    ASSERT_TRUE(client_.SetValue("DllPath", kPartialClient));
    CSimpleMapi mail;
    EXPECT_EQ(2u, mail.Logon(nullptr, nullptr, nullptr));
    EXPECT_EQ(2u, mail.SendMail(nullptr, nullptr, MAPI_DIALOG));
    EXPECT_EQ(0, CSimpleMapi::m_bConnected);
    EXPECT_EQ(nullptr, CSimpleMapi::m_fnMAPILogon);
    EXPECT_FALSE(ClientLoaded()); // loaded to look, then unloaded again
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SimpleMapiTest, SendMailWithoutListAttachesNothing) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    CSimpleMapi mail;
    EXPECT_EQ(0u, mail.SendMail(kWideParent, nullptr, MAPI_DIALOG));
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("MAPISendMail session=0 ui=7ffe12345678 flags=8 files=0 recipients=0 result=0", calls[0]);
}

TEST_F(SimpleMapiTest, SendMailAttachesEveryPathWithoutPositionInTheSession) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    CString first = "C:\\album\\one.jpg";
    CString second = "C:\\album\\two clip.avi";
    CList<CString, CString&> paths;
    paths.AddTail(first);
    paths.AddTail(second);
    {
        CSimpleMapi mail;
        ASSERT_EQ(0u, mail.Logon(kWideParent, nullptr, nullptr));
        EXPECT_EQ(0u, mail.SendMail(kWideParent, &paths, MAPI_DIALOG));
        EXPECT_EQ(0u, mail.Logoff(kWideParent));
    }
    const std::vector<std::string> expected = {
        "MAPILogon ui=7ffe12345678 profile=(null) password=(null) flags=1 result=0",
        "MAPISendMail session=12345678abc ui=7ffe12345678 flags=8 files=2 recipients=0 result=0",
        "attach position=ffffffff path=C:\\album\\one.jpg",
        "attach position=ffffffff path=C:\\album\\two clip.avi",
        "MAPILogoff session=12345678abc ui=7ffe12345678 flags=0",
    };
    EXPECT_EQ(expected, Calls());
}

TEST_F(SimpleMapiTest, AFailedLogonIsRetriedOnceButACancelIsNot) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    SetEnvironmentVariableA("QEL_FAKE_MAPI_LOGON", "2,3");
    {
        CSimpleMapi mail;
        char profile[] = "Work";
        char password[] = "secret";
        EXPECT_EQ(3u, mail.Logon(nullptr, profile, password));
    }
    std::vector<std::string> expected = {
        "MAPILogon ui=0 profile=Work password=secret flags=0 result=2",
        "MAPILogon ui=0 profile=(null) password=(null) flags=0 result=3",
    };
    EXPECT_EQ(expected, Calls()); // and no logoff: no session was opened

    std::remove(log_.c_str());
    SetEnvironmentVariableA("QEL_FAKE_MAPI_LOGON", "1");
    {
        CSimpleMapi mail;
        EXPECT_EQ(1u, mail.Logon(nullptr, nullptr, nullptr));
    }
    expected = {"MAPILogon ui=0 profile=(null) password=(null) flags=1 result=1"};
    EXPECT_EQ(expected, Calls());
}

TEST_F(SimpleMapiTest, AFailedSendIsRetriedOnceWithTheLogonDialogButACancelIsNot) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    SetEnvironmentVariableA("QEL_FAKE_MAPI_SEND", "2,0");
    {
        CSimpleMapi mail;
        EXPECT_EQ(0u, mail.SendMail(nullptr, nullptr, MAPI_DIALOG));
    }
    std::vector<std::string> calls = Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_NE(std::string::npos, calls[0].find("flags=8 "));
    EXPECT_NE(std::string::npos, calls[1].find("flags=9 "));

    std::remove(log_.c_str());
    SetEnvironmentVariableA("QEL_FAKE_MAPI_SEND", "1");
    {
        CSimpleMapi mail;
        EXPECT_EQ(1u, mail.SendMail(nullptr, nullptr, MAPI_DIALOG));
    }
    EXPECT_EQ(1u, Calls().size());
}

TEST_F(SimpleMapiTest, LogoffWithoutSessionCallsNothing) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    CSimpleMapi mail;
    EXPECT_EQ(2u, mail.Logoff(nullptr));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SimpleMapiTest, DestructionLogsOffOnlyAnOpenSessionAndUnloadsTheClient) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    SetEnvironmentVariableA("QEL_FAKE_MAPI_LOGON", "2,2");
    {
        CSimpleMapi mail;
        EXPECT_EQ(2u, mail.Logon(nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(2u, Calls().size()); // the two logons, no logoff
    EXPECT_FALSE(ClientLoaded());
    EXPECT_EQ(nullptr, CSimpleMapi::m_hMAPILibrary);

    std::remove(log_.c_str());
    SetEnvironmentVariableA("QEL_FAKE_MAPI_LOGON", nullptr);
    {
        CSimpleMapi mail;
        EXPECT_EQ(0u, mail.Logon(nullptr, nullptr, nullptr));
    }
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("MAPILogoff session=12345678abc ui=0 flags=0", calls[1]);
    EXPECT_FALSE(ClientLoaded());
}

TEST_F(SimpleMapiTest, SendDocumentPassesItsTextsThrough) {
    ASSERT_TRUE(client_.SetValue("DllPath", kFullClient));
    CSimpleMapi mail;
    char delimiter[] = ";";
    char paths[] = "C:\\a.jpg;C:\\b.jpg";
    char names[] = "a.jpg;b.jpg";
    EXPECT_EQ(0u, mail.SendDocument(kWideParent, delimiter, paths, names));
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("MAPISendDocuments ui=7ffe12345678 delimiter=; paths=C:\\a.jpg;C:\\b.jpg names=a.jpg;b.jpg",
              calls[0]);
}

} // namespace
