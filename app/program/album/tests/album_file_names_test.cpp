// Files named in letters the system code page lacks, beside files whose names the '?' stand-ins of an
// ANSI listing would match: the scan reaches each file by a name that opens it and no other, a
// pattern is never looked up, and a message names the file as the user knows it.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <Vostrel.h>

#include <string>
#include <vector>

#include "AlbumFileNames.h"
#include "AlbumRules.h"
#include "ThumbScan.h"
#include "WideText.h"
#include "album_folder.h"

namespace {

const wchar_t kHoliday[] = L"\u041f\u0440\u0430\u0437\u0434\u043d\u0438\u043a.avi";      // Cyrillic
const wchar_t kVacation12[] = L"\u041e\u0442\u043f\u0443\u0441\u043a12.jpg";             // Cyrillic
const wchar_t kPhoto[] = L"\u5199\u771f.bmp";                                            // Japanese
const wchar_t kVideo[] = L"\u30d3\u30c7\u30aa.avi";                                      // Japanese
const wchar_t kTrip[] = L"\u65c5\u884c 2026.jpg";                                        // Chinese, a space
const wchar_t kCafe[] = L"caf\u00e9 au lait.jpg";                                        // held by 1252
const wchar_t kLodz[] = L"\u0141\u00f3d\u017a.bmp"; // 1252 has look-alikes for two of its letters

std::string ReadAll(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<cannot open>";
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Distinct bytes of distinct lengths for the index-th file.
std::string ContentOf(int index) {
    std::string content;
    for (int i = 0; i <= index; ++i)
        content += "content of file " + std::to_string(index) + ";";
    return content;
}

// Why this machine cannot run the checks: an ANSI code page other than 1252, or no short names made
// on the volume of the temporary folder. Empty when it can.
std::string UnfitMachine(const AlbumFolder& folder, const std::wstring& foreignFile) {
    if (::GetACP() != 1252)
        return "the ANSI code page is " + std::to_string(::GetACP()) + ", not 1252";
    wchar_t shortPath[MAX_PATH] = {};
    if (!::GetShortPathNameW(foreignFile.c_str(), shortPath, MAX_PATH) || foreignFile == shortPath)
        return "the volume of " + folder.Dir() + " makes no short names";
    return std::string();
}

class ForeignNames : public ::testing::Test {
protected:
    void SetUp() override {
        stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(nullptr, stop_);
    }
    void TearDown() override { ::CloseHandle(stop_); }
    HANDLE stop_ = nullptr;
};

class RecordReceiver : public CWnd {
public:
    _AlbumItemInfo buffer = {};
    std::vector<_AlbumItemInfo> records;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LIVECAP_SNAPSHOT && wParam == 0 && lParam == 0) {
            records.push_back(buffer);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ForeignNames, TheScanReachesEveryFileByANameThatOpensItAndNoOther) {
    AlbumFolder folder("foreign_scan");
    // Newest first, as the strip will list them; the program's recordings sit between the foreign names.
    struct Entry {
        const wchar_t* wide;
        const char* ansi;
    };
    const std::vector<Entry> entries = {
        {kHoliday, nullptr}, {nullptr, "DREM0009.AVI"}, {kVacation12, nullptr}, {nullptr, "DREM0001.AVI"},
        {nullptr, "IMG_0001.JPG"}, {nullptr, "vacation.avi"}, {kPhoto, nullptr}, {kTrip, nullptr},
        {kCafe, nullptr}, {kVideo, nullptr}, {kLodz, nullptr}};
    const int count = static_cast<int>(entries.size());
    for (int i = 0; i < count; ++i) {
        const int minute = 100 - 5 * i;
        if (entries[i].wide)
            folder.WriteWide(entries[i].wide, ContentOf(i), minute);
        else
            folder.Write(entries[i].ansi, ContentOf(i), minute);
    }
    const std::string unfit = UnfitMachine(folder, folder.WidePath(kHoliday));
    if (!unfit.empty())
        GTEST_SKIP() << unfit;

    RecordReceiver receiver;
    ASSERT_TRUE(receiver.CreateEx(0, nullptr, "scan receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(ScanAlbumFolder(folder.Dir().c_str(), stop_, receiver.m_hWnd, &receiver.buffer));
    receiver.DestroyWindow();

    ASSERT_EQ(entries.size(), receiver.records.size()) << "each file once";
    for (int i = 0; i < count; ++i) {
        const char* path = receiver.records[i].path;
        EXPECT_TRUE(NamesOneFile(path)) << i << ": " << path;
        EXPECT_EQ(ContentOf(i), ReadAll(path)) << i << ": " << path << " opens another file, or none";
        if (entries[i].ansi) {
            EXPECT_EQ(folder.Path(entries[i].ansi), path) << "the program's own names stay as they are";
        }
    }
    // A name the code page holds keeps its long form, accents and spaces included.
    EXPECT_EQ(folder.Path("caf\xe9 au lait.jpg"), receiver.records[8].path);
    EXPECT_EQ(folder.Path("DREM0009.AVI"), receiver.records[1].path);
}

TEST_F(ForeignNames, ANameWithStandInsIsNeverLookedUpAsAPattern) {
    AlbumFolder folder("foreign_pattern");
    folder.Write("DREM0009.AVI", ContentOf(1), 10);
    const std::string pattern = folder.Path("????????.avi");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder.Path("DREM0009.AVI").c_str()));

    EXPECT_FALSE(ReadAlbumFileStamp(pattern.c_str()).found) << "the pattern found DREM0009.AVI";
    EXPECT_FALSE(NamesOneFile(pattern.c_str()));
    EXPECT_FALSE(NamesOneFile((folder.Path("*.avi")).c_str()));
    EXPECT_FALSE(NamesOneFile(""));
    EXPECT_FALSE(NamesOneFile(nullptr));
    EXPECT_TRUE(NamesOneFile(folder.Path("DREM0009.AVI").c_str()));
    EXPECT_TRUE(ReadAlbumFileStamp(folder.Path("DREM0009.AVI").c_str()).found);
}

TEST_F(ForeignNames, AnAnsiPathIsExactOrShortAndMessagesNameTheFileAsTheUserKnowsIt) {
    AlbumFolder folder("foreign_ansi");
    const std::wstring holiday = folder.WriteWide(kHoliday, ContentOf(3), 10);
    const std::wstring cafe = folder.WriteWide(kCafe, ContentOf(4), 10);
    const std::string unfit = UnfitMachine(folder, holiday);
    if (!unfit.empty())
        GTEST_SKIP() << unfit;

    EXPECT_EQ("caf\xe9 au lait.jpg", qelapp::NarrowExactly(kCafe));
    EXPECT_EQ("", qelapp::NarrowExactly(kHoliday)) << "'?' stand-ins taken for the name";
    EXPECT_EQ("", qelapp::NarrowExactly(kLodz)) << "look-alike letters name another file";

    EXPECT_EQ(folder.Path("caf\xe9 au lait.jpg"), qelapp::AnsiPathOf(cafe.c_str()));
    const std::string reached = qelapp::AnsiPathOf(holiday.c_str());
    ASSERT_FALSE(reached.empty());
    EXPECT_TRUE(NamesOneFile(reached.c_str())) << reached;
    EXPECT_EQ(ContentOf(3), ReadAll(reached.c_str())) << reached;
    EXPECT_EQ("", qelapp::AnsiPathOf(folder.WidePath(kVideo).c_str())) << "a file that is not there";

    const std::string shortName = reached.substr(reached.rfind('\\') + 1);
    EXPECT_EQ("????????.avi (" + shortName + ")", std::string(FileNameAsShown(reached.c_str())));
    EXPECT_EQ("caf\xe9 au lait.jpg", std::string(FileNameAsShown(folder.Path("caf\xe9 au lait.jpg").c_str())));
    EXPECT_EQ("????????.avi", std::string(FileNameAsShown(folder.Path("????????.avi").c_str())));
}

} // namespace
