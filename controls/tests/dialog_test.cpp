// The folder picker and the preview file dialog: style bits, the system's folder browser cancelled and
// answered, the file dialog run with a typed name, the multiple-selection walk, copies, the 260-byte
// limit of the getters and the thumbnail sizes of the preview.
#include <objidl.h>
#include <gdiplus.h>

#include "dialog_driver.h"

#include <BrowseFolder.h>
#include <PreviewFileDlg.h>
#include <qelImage.h>
#include <qeltest/modal_hook.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

using gallery::DialogDriver;

namespace {

constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

std::unique_ptr<CPreviewFileDlg> NewDialog(DWORD flags = 0) {
    return std::make_unique<CPreviewFileDlg>(TRUE, nullptr, nullptr, flags, nullptr, nullptr, nullptr);
}

// Puts the selection text (NUL-separated parts, ended by an extra NUL) into the dialog's buffer.
void SetSelection(CPreviewFileDlg& dlg, const char* text, size_t length) {
    std::memset(dlg.m_fileBuffer, 0, 1024);
    std::memcpy(dlg.m_fileBuffer, text, length);
}

std::vector<std::string> Walk(CPreviewFileDlg& dlg) {
    std::vector<std::string> paths;
    POSITION pos = dlg.GetStartPosition();
    while (pos && paths.size() < 10) {
        char path[260];
        dlg.GetNextPathName(pos, path);
        paths.push_back(path);
    }
    return paths;
}

bool SavePicture(const std::string& path, int w, int h) {
    CImage image(w, h, PixelFormat24bppRGB, 0xFF3366CC);
    return image.SaveFile(path.c_str(), -1) == 1;
}

} // namespace

TEST(BrowseFolder, ModifyStyleAddsAfterRemoving) {
    CBrowseFolder browse;
    EXPECT_EQ(0u, browse.GetStyle());
    EXPECT_EQ(0x3u, browse.ModifyStyle(0x3, 0));
    EXPECT_EQ(0x1u, browse.ModifyStyle(0x1, 0x2));
    EXPECT_EQ(0x1u, browse.GetStyle());
}

TEST(BrowseFolder, TitleIsCutToItsBuffer) {
    CBrowseFolder browse;
    std::string longTitle(400, 'x');
    browse.SetTitle(&longTitle[0]);
    EXPECT_EQ(259u, std::strlen(browse.m_title));
    browse.SetTitle(nullptr);
    EXPECT_EQ(259u, std::strlen(browse.m_title)) << "NULL changes nothing";
}

TEST(BrowseFolder, NullPathIsRefusedWithoutADialog) {
    CBrowseFolder browse;
    EXPECT_EQ(2, browse.Show(nullptr, nullptr));
    EXPECT_EQ(nullptr, gallery::FindThreadDialog(GetCurrentThreadId()));
}

TEST(BrowseFolder, CancelGivesOneAndAPickedFolderGivesZeroAndItsPath) {
    CBrowseFolder browse;
    char title[] = "Choose a folder";
    browse.SetTitle(title);
    char path[MAX_PATH] = "unchanged";
    {
        DialogDriver cancel(GetCurrentThreadId(), [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(1, browse.Show(nullptr, path));
        ASSERT_TRUE(cancel.Found());
    }
    EXPECT_STREQ("unchanged", path);

    qeltest::TempDir dir;
    const std::string folder = dir.Path();
    // Rooted at the folder, the browser's root item is the folder itself.
    browse.m_root = ILCreateFromPathA(folder.c_str());
    ASSERT_NE(nullptr, browse.m_root);
    {
        DialogDriver pick(GetCurrentThreadId(), [&](HWND dialog) {
            HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
            const LPARAM root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(0, browse.Show(nullptr, path));
        ASSERT_TRUE(pick.Found());
    }
    ILFree(browse.m_root);
    EXPECT_STRCASEEQ(folder.c_str(), path);
}

TEST(PreviewFileDlg, DefaultsAndConstructorSettings) {
    auto dlg = std::make_unique<CPreviewFileDlg>(FALSE, "png", "start.png", OFN_NOCHANGEDIR, "Pictures\0*.png\0\0",
                                                 nullptr, nullptr);
    const OPENFILENAMEA* ofn = dlg->GetOPENFILENAME();
    EXPECT_EQ(static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A), ofn->lStructSize);
    EXPECT_EQ(0xA81A04u | OFN_NOCHANGEDIR, ofn->Flags);
    EXPECT_EQ(dlg->m_fileBuffer, ofn->lpstrFile);
    EXPECT_EQ(0x41000u, ofn->nMaxFile);
    EXPECT_EQ(dlg->m_fileTitle, ofn->lpstrFileTitle);
    EXPECT_EQ(260u, ofn->nMaxFileTitle);
    EXPECT_EQ(1u, ofn->nFilterIndex);
    EXPECT_STREQ("start.png", dlg->m_fileBuffer);
    EXPECT_FALSE(dlg->m_open);
    EXPECT_EQ(128, dlg->m_thumbWidth);
    EXPECT_EQ(128, dlg->m_thumbHeight);
}

TEST(PreviewFileDlg, UnderAVersionCountedAsLaterItRunsWithoutHookAndGivesTheTypedName) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    if (version.dwMajorVersion <= 4)
        GTEST_SKIP() << "this program is given an old system version: the preview hook would be installed";
    qeltest::TempDir dir;
    std::ofstream(dir.File("typed.txt")) << "text";
    // The folder stays removable: the dialog leaves the current folder alone.
    auto dlg = std::make_unique<CPreviewFileDlg>(TRUE, nullptr, nullptr, dir.Path().c_str(), OFN_NOCHANGEDIR, nullptr,
                                                 nullptr, nullptr);
    const std::string typed = dir.File("typed.txt");
    qeltest::ScopedModalHook hook([&](HWND dialog, AFX_MODAL_KIND) -> INT_PTR {
        // The name box: a combo box in the newer explorer layout, an edit box in the one this size gets.
        HWND box = GetDlgItem(dialog, kFileNameCombo);
        SendMessageA(box ? box : GetDlgItem(dialog, kFileNameEdit), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(typed.c_str()));
        return IDOK;
    });
    EXPECT_EQ(IDOK, dlg->DoModal());
    EXPECT_EQ(0u, dlg->GetOPENFILENAME()->Flags & OFN_ENABLEHOOK);
    EXPECT_EQ(0u, dlg->GetSelectFileNum());
    char out[260];
    dlg->GetPathName(out);
    EXPECT_STRCASEEQ(dir.File("typed.txt").c_str(), out);
    dlg->GetFileName(out);
    EXPECT_STREQ("typed.txt", out);
    dlg->GetFileTitle(out);
    EXPECT_STREQ("typed", out);
    dlg->GetFileExt(out);
    EXPECT_STREQ(".txt", out);
    dlg->GetFileDir(out);
    EXPECT_STRCASEEQ((dir.Path() + "\\").c_str(), out);
    dlg->GetFileDrive(out);
    EXPECT_EQ(2u, std::strlen(out));
    dlg->GetFileTitle(out);
    POSITION pos = dlg->GetStartPosition();
    dlg->GetNextPathName(pos, out);
    EXPECT_STRCASEEQ(dir.File("typed.txt").c_str(), out) << "one chosen file is the whole buffer";
    EXPECT_EQ(nullptr, pos);
}

TEST(PreviewFileDlg, CancelAnswersCancel) {
    auto dlg = NewDialog();
    qeltest::ScopedModalHook hook([](HWND, AFX_MODAL_KIND) -> INT_PTR { return IDCANCEL; });
    EXPECT_EQ(IDCANCEL, dlg->DoModal());
}

TEST(PreviewFileDlg, ExplorerMultipleSelectionWalksToTwoJoinedPathsThenEnds) {
    auto dlg = NewDialog();
    const char selection[] = "C:\\photos\0a.png\0b.png\0";
    SetSelection(*dlg, selection, sizeof selection);
    EXPECT_EQ((std::vector<std::string>{"C:\\photos\\a.png", "C:\\photos\\b.png"}), Walk(*dlg));

    const char root[] = "C:\\\0a.png\0b.png\0";
    SetSelection(*dlg, root, sizeof root);
    EXPECT_EQ((std::vector<std::string>{"C:\\a.png", "C:\\b.png"}), Walk(*dlg)) << "no doubled separator";
}

TEST(PreviewFileDlg, OldStyleSelectionIsSeparatedBySpacesAndASingleChoiceIsTheWholeBuffer) {
    auto dlg = NewDialog();
    dlg->GetOPENFILENAME()->Flags &= ~OFN_EXPLORER;
    const char selection[] = "C:\\photos a.png b.png";
    SetSelection(*dlg, selection, sizeof selection);
    EXPECT_EQ((std::vector<std::string>{"C:\\photos\\a.png", "C:\\photos\\b.png"}), Walk(*dlg));

    dlg->GetOPENFILENAME()->Flags |= OFN_EXPLORER;
    const char single[] = "C:\\photos\\a.png";
    SetSelection(*dlg, single, sizeof single);
    EXPECT_EQ((std::vector<std::string>{"C:\\photos\\a.png"}), Walk(*dlg));

    dlg->GetOPENFILENAME()->Flags &= ~OFN_ALLOWMULTISELECT;
    const char two[] = "C:\\photos\0a.png\0b.png\0";
    SetSelection(*dlg, two, sizeof two);
    EXPECT_EQ((std::vector<std::string>{"C:\\photos"}), Walk(*dlg)) << "without multi-select the buffer is one path";

    SetSelection(*dlg, "", 1);
    EXPECT_EQ(nullptr, dlg->GetStartPosition());
}

TEST(PreviewFileDlg, GettersWriteAtMost260Bytes) {
    auto dlg = NewDialog();
    std::string longPath = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'n') + ".png";
    SetSelection(*dlg, longPath.c_str(), longPath.size() + 1);
    std::memset(dlg->m_fileTitle, 't', sizeof dlg->m_fileTitle); // no terminator at all
    for (auto getter : {&CPreviewFileDlg::GetPathName, &CPreviewFileDlg::GetFileName, &CPreviewFileDlg::GetFileTitle,
                        &CPreviewFileDlg::GetFileDir, &CPreviewFileDlg::GetFileExt, &CPreviewFileDlg::GetFileDrive}) {
        char out[400];
        std::memset(out, '#', sizeof out);
        ((*dlg).*getter)(out);
        EXPECT_LT(std::strlen(out), 260u);
        for (size_t i = 260; i < sizeof out; ++i)
            ASSERT_EQ('#', out[i]) << "byte " << i << " written";
    }
    POSITION pos = dlg->GetStartPosition();
    char out[400];
    std::memset(out, '#', sizeof out);
    dlg->GetNextPathName(pos, out);
    EXPECT_EQ('#', out[260]);
}

TEST(PreviewFileDlg, CopyPointsItsStructureAtItsOwnBuffers) {
    auto original = NewDialog();
    std::strcpy(original->m_fileBuffer, "C:\\kept.png");
    auto copy = std::make_unique<CPreviewFileDlg>(*original);
    original.reset();
    EXPECT_EQ(copy->m_fileBuffer, copy->GetOPENFILENAME()->lpstrFile);
    EXPECT_EQ(copy->m_fileTitle, copy->GetOPENFILENAME()->lpstrFileTitle);
    EXPECT_STREQ("C:\\kept.png", copy->GetOPENFILENAME()->lpstrFile);
    EXPECT_EQ(nullptr, copy->m_pThumbnail);

    auto assigned = NewDialog();
    *assigned = *copy;
    EXPECT_EQ(assigned->m_fileBuffer, assigned->GetOPENFILENAME()->lpstrFile);
    EXPECT_STREQ("C:\\kept.png", assigned->m_fileBuffer);
}

TEST(PreviewFileDlg, SetOPENFILENAMECopiesTheStructureItsSystemTakes) {
    auto dlg = NewDialog();
    EXPECT_EQ(0, dlg->SetOPENFILENAME(nullptr));
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_QEL_PREVIEW_TEMPLATE);
    ofn.FlagsEx = 1;
    EXPECT_EQ(1, dlg->SetOPENFILENAME(&ofn));
    EXPECT_EQ(ofn.Flags, dlg->GetOPENFILENAME()->Flags);
    EXPECT_EQ(ofn.lpTemplateName, dlg->GetOPENFILENAME()->lpTemplateName);
    EXPECT_EQ(0u, dlg->GetOPENFILENAME()->FlagsEx) << "nothing past the 136 bytes";
}

TEST(PreviewFileDlg, ThumbnailsShrinkLargePicturesKeepSmallOnesAndNoPictureClearsThem) {
    qeltest::TempDir dir;
    ASSERT_TRUE(SavePicture(dir.File("wide.png"), 1000, 500));
    ASSERT_TRUE(SavePicture(dir.File("small.png"), 100, 50));
    std::ofstream(dir.File("notes.txt")) << "not a picture";
    auto dlg = NewDialog();
    dlg->ShowThumbnail(dir.File("wide.png").c_str());
    ASSERT_NE(nullptr, dlg->m_pThumbnail);
    EXPECT_EQ(128u, dlg->m_pThumbnail->Width());
    EXPECT_EQ(64u, dlg->m_pThumbnail->Height());
    dlg->ShowThumbnail(dir.File("small.png").c_str());
    ASSERT_NE(nullptr, dlg->m_pThumbnail);
    EXPECT_EQ(100u, dlg->m_pThumbnail->Width());
    EXPECT_EQ(50u, dlg->m_pThumbnail->Height());
    dlg->ShowThumbnail(dir.File("notes.txt").c_str());
    EXPECT_EQ(nullptr, dlg->m_pThumbnail) << "cleared, not divided by a zero size";
}

TEST(PreviewFileDlg, TemplateOfThePreviewIsInTheLibrary) {
    HMODULE library = GetModuleHandleA("qelControl.dll");
    ASSERT_NE(nullptr, library);
    EXPECT_NE(nullptr, FindResourceA(library, MAKEINTRESOURCEA(IDD_QEL_PREVIEW_TEMPLATE), MAKEINTRESOURCEA(5)));
    EXPECT_NE(nullptr, LoadCursorA(library, MAKEINTRESOURCEA(4001)));
    EXPECT_NE(nullptr, LoadCursorA(library, MAKEINTRESOURCEA(4002)));
}

namespace {

// Gives a program of the test folder the Windows version "nt40" for as long as it lives.
class OldVersionFor {
public:
    explicit OldVersionFor(const std::string& program) : key_("Software\\Wine\\AppDefaults\\" + program) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        set_ = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("nt40"), 5) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~OldVersionFor() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    bool Set() const { return set_; }

private:
    std::string key_;
    bool set_ = false;
};

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Runs the program with the arguments and waits at most the given time; its exit code, or -1.
int RunProgram(const std::string& commandLine, DWORD milliseconds) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

TEST(PreviewFileDlg, UnderAnOldSystemVersionThePreviewFollowsTheSelection) {
    qeltest::TempDir dir;
    ASSERT_TRUE(SavePicture(dir.File("wide.png"), 1000, 500));
    ASSERT_TRUE(SavePicture(dir.File("small.png"), 100, 50));
    std::ofstream(dir.File("notes.txt")) << "not a picture";
    ASSERT_TRUE(CreateDirectoryA(dir.File("sub").c_str(), nullptr));
    const std::string report = dir.File("report.txt");

    OldVersionFor version("preview_probe.exe");
    ASSERT_TRUE(version.Set());
    const std::string probe = ProgramFolder() + "\\preview_probe.exe";
    ASSERT_EQ(0, RunProgram("\"" + probe + "\" \"" + dir.Path() + "\" \"" + report + "\"", 40000));

    std::ifstream in(report);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.find("version 4\n") == std::string::npos)
        GTEST_SKIP() << "this Wine did not give the probe the old version: " << text;
    EXPECT_NE(std::string::npos, text.find("hook 1\n")) << text;
    EXPECT_NE(std::string::npos, text.find("list 1\n")) << text;
    EXPECT_NE(std::string::npos, text.find("preview 1\n")) << text;
    EXPECT_NE(std::string::npos, text.find("wide 128 64\n")) << text;
    EXPECT_NE(std::string::npos, text.find("folder 128 64\n")) << "a folder leaves the preview\n" << text;
    EXPECT_NE(std::string::npos, text.find("small 100 50\n")) << text;
    EXPECT_NE(std::string::npos, text.find("text none\n")) << "a text file clears the preview\n" << text;
    EXPECT_NE(std::string::npos, text.find("result 2\n")) << text;
    const size_t count = text.find("selections ");
    ASSERT_NE(std::string::npos, count) << text;
    EXPECT_GE(std::atoi(text.c_str() + count + 11), 4) << "every selection change is counted";
}
