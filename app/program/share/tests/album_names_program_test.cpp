// The real program on an album whose files are named in letters the code page lacks, beside its own
// recordings, whose names the '?' stand-ins of an ANSI listing would match: Trash deletes exactly the
// selected file, the labels describe it, Save as copies it; a file something holds open stays in the
// strip with one message naming it; a documents folder with a Cyrillic name holds the captures.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "album_folder.h"
#include "album_items.h"
#include "avi_clip.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/temp_dir.h"
#include "screen_probe.h"
#include "scoped_documents_folder.h"

namespace programtest {
namespace {

constexpr int kSwitch = 1010, kSaveAs = 1011, kTrash = 1017, kClose = 1021, kPixelSize = 1022, kSize = 1028,
              kDate = 1076, kRecord = 1061, kFirstItem = 8000;

const wchar_t kHoliday[] = L"\u041f\u0440\u0430\u0437\u0434\u043d\u0438\u043a.avi";  // Cyrillic
const wchar_t kVacation12[] = L"\u041e\u0442\u043f\u0443\u0441\u043a12.jpg";         // Cyrillic
const wchar_t kPhoto[] = L"\u5199\u771f.bmp";                                        // Japanese
const wchar_t kTrip[] = L"\u65c5\u884c 2026.jpg";                                    // Chinese, a space
const wchar_t kCafe[] = L"caf\u00e9 au lait.jpg";                                    // held by 1252
const wchar_t kDocuments[] = L"\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b"; // Cyrillic

std::string ClipBytes(int frames) {
    qelmedia::AviClipFormat format;
    format.frameCount = frames;
    const std::vector<uint8_t> bytes = qelmedia::BuildAviClip(format);
    return std::string(bytes.begin(), bytes.end());
}

std::string ReadWide(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    LARGE_INTEGER size = {};
    ::GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty())
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool ExistsWide(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string KbText(size_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

void Post(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Why the checks cannot run here: an ANSI code page other than 1252, or no short names on the volume.
std::string UnfitMachine(const std::wstring& foreignFile) {
    if (::GetACP() != 1252)
        return "the ANSI code page is " + std::to_string(::GetACP()) + ", not 1252";
    wchar_t shortPath[MAX_PATH] = {};
    if (!::GetShortPathNameW(foreignFile.c_str(), shortPath, MAX_PATH) || foreignFile == shortPath)
        return "the temporary folder's volume makes no short names";
    return std::string();
}

// One album file: its name (wide), its bytes, and what the labels show for it.
struct AlbumFile {
    std::wstring name;
    std::string bytes;
    std::string pixelSize; // pictures only
    std::wstring path;
};

class AlbumNames : public ProgramTest {
protected:
    void StartOnAlbum(ZentrikRun& run, const std::string& folder, int items) {
        AddCamera();
        AddMicrophone();
        if (!folder.empty())
            run.SetIniValue("Basic", "Image Folder", folder.c_str());
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitForMainWindow(30000));
        for (int i = 0; i < 150 && !FindItem(run.Dialog(), kFirstItem + items - 1); ++i)
            run.Pump(50);
        ASSERT_TRUE(FindItem(run.Dialog(), kFirstItem + items - 1)) << "the album was not listed";
        run.Pump(500);
    }
    // Waits until the first `visible` items show their thumbnails (the strip's colour no longer fills
    // their centres): the thumbnail maker then no longer reads their files, which Trash would find in use.
    static void WaitForThumbnails(ZentrikRun& run, int visible) {
        HWND first = FindItem(run.Dialog(), kFirstItem);
        ASSERT_TRUE(first);
        const RECT strip = ScreenRectOf(::GetParent(first));
        const COLORREF background = ScreenPixel((strip.left + strip.right) / 2, strip.bottom - 3);
        const DWORD start = ::GetTickCount();
        for (int i = 0; i < visible; ++i) {
            HWND item = FindItem(run.Dialog(), kFirstItem + i);
            while (item && Centre(item) == background && ::GetTickCount() - start < 10000)
                run.Pump(50);
            ASSERT_NE(background, Centre(item)) << "item " << i << " has no thumbnail after 10 s";
        }
        std::printf("thumbnails shown after %lu ms\n", static_cast<unsigned long>(::GetTickCount() - start));
        run.Pump(300);
    }
    static void Select(ZentrikRun& run, int index, WPARAM keys = 0) {
        HWND item = FindItem(run.Dialog(), kFirstItem + index);
        ASSERT_TRUE(item) << "no item " << index;
        ::SendMessageA(item, WM_LBUTTONDOWN, keys | MK_LBUTTON, 0);
        ::SendMessageA(item, WM_LBUTTONUP, keys, 0);
    }
    static void TrashAnswering(ZentrikRun& run, const char* question) {
        run.ExpectBox("Warning!", question, IDYES);
        Post(run.Dialog(), kTrash);
        run.WaitForExpectedBoxes(5000);
        run.Pump(800);
        EXPECT_TRUE(run.MissingBoxes().empty()) << "the question did not show";
    }
    // The viewer's pixel size of the shown file: a picture's own, a clip's still (the test clips' 64x48)
    // once it has come; the hang guard is 10 s.
    static void WaitForPixelSize(ZentrikRun& run, const AlbumFile& file) {
        const std::string wanted = file.pixelSize.empty() ? "64X48" : file.pixelSize;
        const DWORD start = ::GetTickCount();
        while (TextOf(run.Control(kPixelSize)) != wanted && ::GetTickCount() - start < 10000)
            run.Pump(50);
        ASSERT_EQ(wanted, TextOf(run.Control(kPixelSize))) << "another file's picture, or none, after 10 s";
    }
    static void CloseProgram(ZentrikRun& run) {
        Post(run.Dialog(), kClose);
        EXPECT_EQ(0u, run.WaitForExit(10000));
    }

    // Newest first, as the strip lists them: foreign names between the program's own recordings.
    std::vector<AlbumFile> WriteMixedAlbum(AlbumFolder& folder) {
        std::vector<AlbumFile> files = {
            {kHoliday, ClipBytes(12), "", L""},
            {L"DREM0009.AVI", ClipBytes(20), "", L""},
            {kVacation12, SolidBmp(160, 120, RGB(200, 0, 0)), "160X120", L""},
            {L"DREM0001.AVI", ClipBytes(28), "", L""},
            {L"IMG_0001.JPG", SolidBmp(120, 90, RGB(0, 200, 0)), "120X90", L""},
            {L"vacation.avi", ClipBytes(36), "", L""},
            {kPhoto, SolidBmp(200, 150, RGB(0, 0, 200)), "200X150", L""},
            {kTrip, SolidBmp(96, 72, RGB(200, 200, 0)), "96X72", L""},
            {kCafe, SolidBmp(240, 180, RGB(0, 200, 200)), "240X180", L""},
        };
        for (size_t i = 0; i < files.size(); ++i)
            files[i].path = folder.WriteWide(files[i].name.c_str(), files[i].bytes, 100 - 5 * static_cast<int>(i));
        return files;
    }
};

TEST_F(AlbumNames, TrashOfEachForeignNameDeletesItAloneAndTheLabelsDescribeEachFile) {
    AlbumFolder folder("names_trash");
    const std::vector<AlbumFile> files = WriteMixedAlbum(folder);
    const std::string unfit = UnfitMachine(files[0].path);
    if (!unfit.empty())
        GTEST_SKIP() << unfit;
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder.Dir(), static_cast<int>(files.size())));
    ASSERT_NO_FATAL_FAILURE(WaitForThumbnails(run, 5));
    ::SendMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(kSwitch, BN_CLICKED), 0);
    run.Pump(500);
    ASSERT_FALSE(::IsWindowVisible(run.Control(kRecord))) << "not in playback mode";

    // Each item's labels are its own file's: the size, and a picture's pixel size.
    for (size_t i = 0; i < files.size(); ++i) {
        Select(run, static_cast<int>(i));
        ASSERT_NO_FATAL_FAILURE(WaitForPixelSize(run, files[i]));
        EXPECT_EQ(KbText(files[i].bytes.size()), TextOf(run.Control(kSize))) << "item " << i;
        EXPECT_NE("", TextOf(run.Control(kDate))) << "item " << i;
        if (i == 2) { // the Cyrillic picture, to be seen as the user sees it once painted
            run.Pump(700);
            std::printf("screenshot: %s\n",
                        SaveScreenshot(ScreenRectOf(run.Frame()), "album_names_cyrillic_picture").c_str());
        }
    }

    // Trash of each foreign name, and of the accented one: that file alone goes, with its item.
    std::map<size_t, bool> trashed;
    for (size_t i : {size_t(0), size_t(2), size_t(6), size_t(7), size_t(8)}) {
        Select(run, static_cast<int>(i));
        ASSERT_NO_FATAL_FAILURE(WaitForPixelSize(run, files[i])); // a clip's still read: its reader is done
        ASSERT_NO_FATAL_FAILURE(TrashAnswering(run, "Sure you want to delete the file?"));
        trashed[i] = true;
        for (size_t k = 0; k < files.size(); ++k) {
            if (trashed.count(k)) {
                EXPECT_FALSE(ExistsWide(files[k].path)) << "after trash of " << i << ": file " << k << " stayed";
                EXPECT_FALSE(FindItem(run.Dialog(), kFirstItem + static_cast<int>(k))) << "item " << k;
            } else {
                EXPECT_TRUE(files[k].bytes == ReadWide(files[k].path))
                    << "after trash of " << i << ": file " << k << " was deleted or changed";
                EXPECT_TRUE(FindItem(run.Dialog(), kFirstItem + static_cast<int>(k))) << "item " << k;
            }
        }
        if (HasFailure())
            break;
    }
    CloseProgram(run);
    for (const SeenBox& box : run.Boxes())
        EXPECT_EQ("Warning!", box.caption) << box.text;
}

TEST_F(AlbumNames, AFileHeldOpenStaysWithOneMessageNamingItAndTheRestOfTheSelectionGoes) {
    AlbumFolder folder("names_held");
    const std::vector<AlbumFile> files = {
        {L"DREM0003.AVI", ClipBytes(10), "", folder.WriteWide(L"DREM0003.AVI", ClipBytes(10), 50)},
        {kHoliday, ClipBytes(14), "", folder.WriteWide(kHoliday, ClipBytes(14), 40)},
        {L"DREM0002.AVI", ClipBytes(18), "", folder.WriteWide(L"DREM0002.AVI", ClipBytes(18), 30)},
        {L"DREM0001.AVI", ClipBytes(22), "", folder.WriteWide(L"DREM0001.AVI", ClipBytes(22), 20)},
    };
    const std::string unfit = UnfitMachine(files[1].path);
    if (!unfit.empty())
        GTEST_SKIP() << unfit;
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder.Dir(), static_cast<int>(files.size())));
    ASSERT_NO_FATAL_FAILURE(WaitForThumbnails(run, static_cast<int>(files.size())));

    // Another process (this one) reads two of them and lets nobody delete them meanwhile.
    HANDLE holds[2] = {};
    for (int i = 0; i < 2; ++i) {
        holds[i] = ::CreateFileW(files[i + 1].path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, holds[i]);
    }
    Select(run, 0);
    Select(run, 3, MK_SHIFT);
    run.Pump(200);
    wchar_t shortHoliday[MAX_PATH] = {};
    ::GetShortPathNameW(files[1].path.c_str(), shortHoliday, MAX_PATH);
    std::wstring shortName(shortHoliday);
    shortName = shortName.substr(shortName.rfind(L'\\') + 1);
    const std::string expected = "Cannot delete ????????.avi (" + std::string(shortName.begin(), shortName.end()) +
                                 "): another program is using it.\nCannot delete DREM0002.AVI: another program is "
                                 "using it.";

    // The question, then (after the deletes) the one message; it is caught before it is answered, to be
    // seen as the user sees it.
    run.ExpectBox("Warning!", "Sure you want to delete these files?", IDYES);
    Post(run.Dialog(), kTrash);
    run.WaitForExpectedBoxes(5000);
    HWND box = nullptr;
    for (int i = 0; i < 100 && !box; ++i) {
        for (HWND window : VisibleTopLevelWindows(run.ProcessId(), "#32770"))
            if (TextOf(window) == "Error")
                box = window;
        if (!box)
            ::Sleep(50);
    }
    ASSERT_TRUE(box) << "no message about the files that stayed within 5 s";
    ::Sleep(300); // drawn
    const RECT boxRect = ScreenRectOf(box);
    std::printf("screenshot: %s\n", SaveScreenshot(boxRect, "album_names_held_message").c_str());
    run.ExpectBox("Error", expected);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    EXPECT_TRUE(run.MissingBoxes().empty()) << "expected: " << expected;

    EXPECT_FALSE(ExistsWide(files[0].path));
    EXPECT_FALSE(ExistsWide(files[3].path));
    EXPECT_FALSE(FindItem(run.Dialog(), kFirstItem + 0));
    EXPECT_FALSE(FindItem(run.Dialog(), kFirstItem + 3));
    for (int i = 1; i <= 2; ++i) {
        EXPECT_TRUE(files[i].bytes == ReadWide(files[i].path)) << "file " << i;
        EXPECT_TRUE(FindItem(run.Dialog(), kFirstItem + i)) << "the item of a file that stayed left the strip";
    }

    // Let go: the next Trash deletes them, without a message.
    for (HANDLE hold : holds)
        ::CloseHandle(hold);
    Select(run, 1);
    Select(run, 2, MK_SHIFT);
    ASSERT_NO_FATAL_FAILURE(TrashAnswering(run, "Sure you want to delete these files?"));
    // The program's own reader of a shown clip shares its deletion: a file goes once that reader has let go.
    for (int i = 0; i < 100 && (ExistsWide(files[1].path) || ExistsWide(files[2].path)); ++i)
        run.Pump(50);
    EXPECT_FALSE(ExistsWide(files[1].path)) << "not gone within 5 s";
    EXPECT_FALSE(ExistsWide(files[2].path)) << "not gone within 5 s";
    EXPECT_FALSE(FindItem(run.Dialog(), kFirstItem + 1));
    CloseProgram(run);
    EXPECT_EQ(3u, run.Boxes().size());
}

TEST_F(AlbumNames, SaveAsOfAForeignNameCopiesThatFile) {
    AlbumFolder folder("names_save");
    const std::vector<AlbumFile> files = {
        {kHoliday, ClipBytes(12), "", folder.WriteWide(kHoliday, ClipBytes(12), 50)},
        {L"DREM0009.AVI", ClipBytes(24), "", folder.WriteWide(L"DREM0009.AVI", ClipBytes(24), 40)},
    };
    const std::string unfit = UnfitMachine(files[0].path);
    if (!unfit.empty())
        GTEST_SKIP() << unfit;
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder.Dir(), static_cast<int>(files.size())));
    ASSERT_NO_FATAL_FAILURE(WaitForThumbnails(run, static_cast<int>(files.size())));
    Select(run, 0);
    run.Pump(200);
    const std::string copy = folder.Path("copy.avi");
    PostClick(run.Dialog(), kSaveAs);
    HWND fileDialog = WaitForFileDialog(run.ProcessId(), 10000);
    ASSERT_TRUE(fileDialog) << "no file dialog";
    ASSERT_TRUE(AcceptFileDialogWith(fileDialog, copy)) << "no file name box";
    for (int i = 0; i < 100 && (::IsWindow(fileDialog) || !folder.Exists("copy.avi")); ++i)
        ::Sleep(50);
    ASSERT_TRUE(folder.Exists("copy.avi"));
    EXPECT_TRUE(files[0].bytes == ReadWide(folder.WidePath(L"copy.avi"))) << "the copy is of another file";
    CloseProgram(run);
    EXPECT_TRUE(run.Boxes().empty());
}

// Removes the folders a test made inside its album folder, innermost first, with their files.
class MadeFolders {
public:
    void Add(const std::wstring& folder) { folders_.insert(folders_.begin(), folder); }
    ~MadeFolders() {
        for (const std::wstring& folder : folders_) {
            WIN32_FIND_DATAW entry;
            HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
            if (search != INVALID_HANDLE_VALUE) {
                do
                    ::DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
                while (::FindNextFileW(search, &entry));
                ::FindClose(search);
            }
            ::RemoveDirectoryW(folder.c_str());
        }
    }

private:
    std::vector<std::wstring> folders_;
};

TEST_F(AlbumNames, ADocumentsFolderNamedInCyrillicHoldsTheAlbum) {
    AlbumFolder base("names_documents");
    MadeFolders made;
    const std::wstring documents = base.WidePath(kDocuments);
    ASSERT_TRUE(::CreateDirectoryW(documents.c_str(), nullptr));
    made.Add(documents);
    const std::string unfit = UnfitMachine(documents);
    if (!unfit.empty())
        GTEST_SKIP() << unfit;
    const std::wstring captures = documents + L"\\Tavorin";
    ASSERT_TRUE(::CreateDirectoryW(captures.c_str(), nullptr));
    made.Add(captures);
    const std::string picture = SolidBmp(100, 80, RGB(0, 0, 200));
    {
        HANDLE file = ::CreateFileW((captures + L"\\IMG_0001.JPG").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        ::WriteFile(file, picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    ScopedDocumentsFolder scoped(documents);
    ASSERT_TRUE(scoped.Set());
    wchar_t asked[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, asked)) || documents != asked)
        GTEST_SKIP() << "the shell does not take the per-user documents folder from the registry here";
    ZentrikRun run;
    run.WriteIni("[Basic]\r\n"); // no folder in its settings: the documents folder's "Tavorin"
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, "", 1));
    ::SendMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(kSwitch, BN_CLICKED), 0);
    run.Pump(500);
    EXPECT_EQ("100X80", TextOf(run.Control(kPixelSize))) << "the picture in the Cyrillic folder is not shown";
    EXPECT_EQ(KbText(picture.size()), TextOf(run.Control(kSize)));
    CloseProgram(run);
    EXPECT_TRUE(run.Boxes().empty());
}

} // namespace
} // namespace programtest
