// The main dialog's sharing commands (e-mail, wallpaper, screen saver, trash) and its window commands
// (minimise, size-mode toggle, about, help).
#include "MainDlg.h"

#include <Fluvant.h>
#include <afxhook.h>
#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <qelLib1.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "AboutBox.h"
#include "AlbumFileNames.h"
#include "AlbumRules.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "SentMessageWait.h"
#include "SkinLoader.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "ThumbMaker.h"
#include "resource.h"

namespace {

// Mail larger than this asks first (10 MB).
constexpr ULONGLONG kMailSizeLimit = 10485760;
constexpr DWORD kWallpaperSettleMs = 2000;

CString ResourceText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// The file's size as its low 32 bits; 0 when it cannot be opened.
DWORD FileSize32(const char* path) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const DWORD size = ::GetFileSize(file, nullptr);
    ::CloseHandle(file);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool Gone(const CString& path) {
    if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// How long one Trash gives, in all, to the program's own short reads (a thumbnail or a still being
// made of a file just clicked) to let go of the files it deletes; a file that another program keeps
// open is named once this has passed.
constexpr DWORD kLetGoBudgetMs = 1500;
constexpr DWORD kLetGoStepMs = 100;

// Whether a failed delete may pass by itself: a reader holds the file without sharing its deletion.
bool MayPass(const CString& path) {
    HANDLE probe = ::CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Whether this program's own given-up work still holds the file: a play or a reader that did not
// answer, whose thread is inside the platform. Nothing can make it let go before it returns, so Trash
// names the file at once rather than waiting for it.
bool HeldByGivenUpWork(const CString& path) {
    return lpFileHeld(path) == lpHeldByGivenUpPlay || ClipDidNotAnswer(path);
}

// Whether a stopped playback of the file is still going down: it lets go of the file once down (slow
// on a busy machine), or is given up if it makes no progress.
bool PlaybackGoingDown(const CString& path) { return lpFileHeld(path) == lpHeldWhileGoingDown; }

// Why a file that should have gone is still there, for the message that names it.
CString WhyNotDeleted(const CString& path) {
    if (HeldByGivenUpWork(path))
        return "the clip does not answer, and the program cannot let go of it until it ends";
    HANDLE probe = ::CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return "it could not be deleted";
    }
    switch (::GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "another program is using it";
    case ERROR_ACCESS_DENIED: return "access to it is denied";
    default: return "it could not be deleted";
    }
}

// Deletes the file for good: no progress, no confirmation, not to the Recycle Bin, and no shell error
// box (the caller names what stayed). TRUE when the file is gone, or its delete is pending: a reader
// that shares it for deletion still has it open, nobody can open it any more, and it goes when that
// reader closes it (Windows then refuses its name; Wine still lists it until then).
BOOL DeleteForGood(const CString& path) {
    if (Gone(path))
        return TRUE;
    std::vector<char> list(path.GetLength() + 2, '\0'); // double-terminated
    std::memcpy(list.data(), static_cast<LPCSTR>(path), path.GetLength());
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.data();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOERRORUI;
    const bool done = ::SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
    return done || Gone(path);
}

// While Trash waits for its own readers to let go: the thumbnails and stills they have finished are
// handed over, so that a still nobody wants any more releases its reader. Nothing else runs.
void HandOverFinishedThumbnails() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, WM_ZENTRIK_THUMB_READY, WM_ZENTRIK_THUMB_READY, PM_REMOVE))
        ::DispatchMessageA(&message);
}

// A line of the one message about files a command left alone.
CString LeftAloneLine(const char* verb, const CString& path, const CString& why) {
    CString line;
    line.Format("Cannot %s %s: %s.", verb, static_cast<const char*>(FileNameAsShown(path)),
                static_cast<const char*>(why));
    return line;
}

const char kUnreachable[] = "the program cannot reach the file by its name";

// One box naming each of paths that the program cannot reach by its name, a line each in the wording of
// the string formatId; no box when it reaches them all.
void SayUnreachable(HWND owner, UINT formatId, const std::vector<CString>& paths) {
    const CString format = ResourceText(formatId);
    CString text;
    for (const CString& path : paths) {
        if (NamesOneFile(path))
            continue;
        CString line;
        line.Format(format, static_cast<const char*>(FileNameAsShown(path)));
        text += (text.IsEmpty() ? "" : "\n") + line;
    }
    if (!text.IsEmpty())
        AfxShowMessageBox(owner, text, "Error", MB_OK | MB_ICONWARNING);
}

std::vector<CString> SelectedPaths(const CThumbStrip& strip) {
    CStringList list;
    strip.GetSelectedPaths(list, 2);
    std::vector<CString> paths;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        paths.push_back(list.GetNext(pos));
    return paths;
}

void SetDesktopValue(HKEY desktop, const char* name) {
    static const char kZero[] = "0";
    ::RegSetValueExA(desktop, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kZero), sizeof kZero);
}

// Text from the last backslash on (the name with its leading backslash); the whole path without one.
CString NameWithBackslash(const CString& path) {
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? "\\" + path : path.Mid(slash);
}

} // namespace

void CMainDlg::OnEmail() {
    std::vector<CString> selected = SelectedPaths(m_strip);
    if (selected.empty())
        return;
    // A name with '?' stand-ins would make the mailer attach whatever it matches: such files stay out.
    CString leftOut;
    for (const CString& path : selected)
        if (!NamesOneFile(path))
            leftOut += (leftOut.IsEmpty() ? "" : "\n") + LeftAloneLine("mail", path, kUnreachable);
    selected.erase(std::remove_if(selected.begin(), selected.end(), [](const CString& path) { return !NamesOneFile(path); }),
                   selected.end());
    if (!leftOut.IsEmpty())
        AfxShowMessageBox(m_hWnd, leftOut, "Error", MB_OK | MB_ICONWARNING);
    if (selected.empty())
        return;
    // Summed wide: many large files must not wrap round to a small total and skip the question.
    ULONGLONG total = 0;
    for (const CString& path : selected)
        total += FileSize32(path);
    if (total > kMailSizeLimit &&
        AfxShowMessageBox(m_hWnd, ResourceText(IDS_MAIL_TOO_BIG), ResourceText(IDS_WARNING),
                          MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;

    CSimpleMapi mail;
    if (mail.Logon(m_hWnd, nullptr, nullptr) != SUCCESS_SUCCESS)
        return;
    CList<CString, CString&> paths;
    for (CString path : selected)
        paths.AddTail(path);
    mail.SendMail(m_hWnd, &paths, MAPI_DIALOG);
    mail.Logoff(m_hWnd);
}

void CMainDlg::OnWallpaper() {
    CString picture;
    if (!m_strip.GetFirstSelected(picture, 0))
        return;
    if (!NamesOneFile(picture)) {
        SayUnreachable(m_hWnd, IDS_WALLPAPER_UNREACHABLE, {picture});
        return;
    }
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const CString wallpaper = CString(windows) + "\\Q&L Wallpaper.bmp";
    CString shown = picture;

    char extension[MAX_PATH] = {};
    ql_GetExt(picture, extension);
    if (lstrcmpA(::CharLowerA(extension), "bmp") == 0) {
        if (::CopyFileA(picture, wallpaper, FALSE))
            shown = wallpaper;
    } else {
        auto image = std::make_unique<CImage>();
        if (image->LoadFile(picture) == Gdiplus::Ok && image->Save(wallpaper, nullptr))
            shown = wallpaper;
    }

    HKEY desktop = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ | KEY_WRITE, &desktop) ==
        ERROR_SUCCESS) {
        SetDesktopValue(desktop, "TileWallpaper");
        SetDesktopValue(desktop, "WallpaperStyle");
        ::RegCloseKey(desktop);
    }
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(static_cast<LPCSTR>(shown)),
                            SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    ::Sleep(kWallpaperSettleMs);
}

void CMainDlg::OnScreenSaver() {
    const CString program = qelapp::ProgramFolder();
    char folder[MAX_PATH] = {};
    // Without the settings file or its folder the copies would land in the drive root: copy nothing.
    const bool haveFolder = ql_GetSettingString("File_Path", "Folder_Path", program + "qelscr.ini", folder) &&
                            folder[0] != '\0';
    const std::vector<CString> selected = SelectedPaths(m_strip);
    if (selected.empty())
        return;
    if (haveFolder) {
        for (const CString& path : selected)
            if (NamesOneFile(path))
                ::CopyFileA(path, CString(folder) + NameWithBackslash(path), FALSE);
        // Said before the saver takes the screen; it shows the others.
        SayUnreachable(m_hWnd, IDS_SAVER_UNREACHABLE, selected);
    }

    char commandLine[] = "Pixwander.scr -s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(program + "Pixwander.scr", commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &process))
        return;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
}

void CMainDlg::OnTrash() {
    const std::vector<CString> selected = SelectedPaths(m_strip);
    const int n = static_cast<int>(selected.size());
    if (n == 0)
        return;
    if (AfxShowMessageBox(m_hWnd, ResourceText(n == 1 ? IDS_DELETE_ONE : IDS_DELETE_MANY), ResourceText(IDS_WARNING),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    bool atEnd = false;
    CString next;
    int removed = 0;
    CString leftAlone; // one line for each file that stays, shown once at the end
    const DWORD letGoStart = ::GetTickCount();
    for (int i = 0; i < n; ++i) {
        const CString& path = selected[i];
        if (i == n - 1) {
            const int last = m_strip.FindByPath(path);
            atEnd = last + 1 == m_strip.GetCount();
            next = m_strip.GetPath(last + 1);
        }
        CString why;
        if (!NamesOneFile(path)) {
            why = kUnreachable; // never handed to the shell: it would delete what the pattern matches
        } else {
            // The viewer (and its playback) holds the shown file open: let it go before the delete.
            if (!m_selectedFile.IsEmpty() && path.CompareNoCase(m_selectedFile) == 0) {
                StopRunningPlayback();
                m_viewer.ShowFile(nullptr);
            }
            BOOL gone = DeleteForGood(path);
            // The program's own short reads get the budget; its playback going down is waited for for
            // as long as it makes progress.
            while (!gone && MayPass(path) && !HeldByGivenUpWork(path) &&
                   (::GetTickCount() - letGoStart < kLetGoBudgetMs || PlaybackGoingDown(path))) {
                // Sent messages are answered meanwhile: the playback's take-down hides its renderer's
                // window, which this thread owns, before it lets go of the file.
                WaitHandlingSentMessages(nullptr, kLetGoStepMs);
                HandOverFinishedThumbnails();
                gone = DeleteForGood(path);
            }
            if (gone) {
                m_strip.RemoveSelectedByPath(path); // only now: an item stays while its file does
                ++removed;
                continue;
            }
            why = WhyNotDeleted(path);
        }
        leftAlone += (leftAlone.IsEmpty() ? "" : "\n") + LeftAloneLine("delete", path, why);
    }

    const int p = m_sldDisplay.GetPos();
    const int c = m_strip.GetCount();
    if (atEnd)
        m_stripTop = 0;
    else if (m_stripTop >= c - 2)
        m_stripTop = std::max(m_stripTop - removed, 0);
    m_strip.Relayout(m_stripTop);
    const int j = m_strip.FindByPath(next);
    if (j != -1)
        m_strip.SelectIndex(j, 0);

    m_stripVisibleCount = m_sizeMode == 0 ? 5 : 3;
    const BOOL any = c > 0;
    m_btnSwitch.EnableWindow(any);
    m_btnEMail.EnableWindow(any);
    m_btnTrash.EnableWindow(any);
    m_btnSaveAs.EnableWindow(any);

    if (c > m_stripVisibleCount) {
        const int max = c - m_stripVisibleCount;
        m_sldDisplay.ShowWindow(SW_SHOW);
        m_sldDisplay.SetRange(0, max);
        const int pos = removed > 0 ? p - removed + 1 : p;
        if (pos >= 0 && pos <= max)
            m_sldDisplay.SetPos(pos);
    } else {
        m_sldDisplay.ShowWindow(SW_HIDE);
        m_sldDisplay.SetPos(0);
    }
    if (atEnd) {
        m_sldDisplay.SetPos(m_stripTop);
        m_strip.SelectIndex(m_stripTop, 0);
    }

    int k = j;
    if (!m_captureModeOn) {
        if (c < 1) {
            OnSwitch();
            m_btnThumbUp.EnableWindow(FALSE);
            m_btnThumbDown.EnableWindow(FALSE);
            m_btnThumbUp.ShowWindow(SW_HIDE);
            m_btnThumbDown.ShowWindow(SW_HIDE);
            return;
        }
        k = std::max(j, 0);
        m_strip.SelectIndex(k, 0);
        ShowAlbumItemAt(k);
    }
    const int showSteps = c > m_stripVisibleCount ? SW_SHOW : SW_HIDE;
    m_btnThumbUp.EnableWindow(k > 0);
    m_btnThumbDown.EnableWindow(k < c);
    m_btnThumbUp.ShowWindow(showSteps);
    m_btnThumbDown.ShowWindow(showSteps);
    if (!leftAlone.IsEmpty())
        AfxShowMessageBox(m_hWnd, leftAlone, "Error", MB_OK | MB_ICONWARNING);
}

void CMainDlg::OnMinimize() {
    ShowWindow(SW_MINIMIZE);
    if (CWnd* main = AfxGetMainWnd())
        main->ShowWindow(SW_MINIMIZE);
}

void CMainDlg::OnSizeToggle() {
    m_sizeMode = m_sizeMode == 0 ? 1 : 0;
    m_savedSizeMode = m_sizeMode;
    m_stripVisibleCount = m_sizeMode == 0 ? 5 : 3;
    m_btnMax.ShowWindow(m_sizeMode == 0 ? SW_SHOW : SW_HIDE);
    m_btnSMax.ShowWindow(m_sizeMode == 0 ? SW_HIDE : SW_SHOW);
    ReskinScrollSlider(&m_sldDisplay, "DispSlider", m_sizeMode);
    PlaceAlbumStepDown();

    const int count = m_strip.GetCount();
    const int steps = count > m_stripVisibleCount ? SW_SHOW : SW_HIDE;
    m_btnThumbUp.ShowWindow(steps);
    m_btnThumbDown.ShowWindow(steps);
    if (count > m_stripVisibleCount) {
        m_sldDisplay.SetRange(0, count - m_stripVisibleCount);
        m_sldDisplay.SetPos(m_stripTop);
        m_sldDisplay.ShowWindow(SW_SHOW);
    } else {
        m_sldDisplay.ShowWindow(SW_HIDE);
    }

    if (m_playWndImage) {
        char file[MAX_PATH] = {};
        CString key;
        key.Format("Image%d", m_sizeMode);
        ql_GetSettingString("Playwnd", key, g_skinSettingsPath, file);
        m_playWndImage = std::make_unique<CImage>();
        LoadSkinPicture(m_playWndImage.get(), g_skinFolder + file, SkinWindowSize(m_sizeMode));
    }

    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_SIZE_MODE, static_cast<WPARAM>(m_sizeMode), m_captureModeOn);
    RelayoutControls();
    Invalidate(FALSE);
    if (m_audioDeviceCount == 0)
        m_btnMute.EnableWindow(FALSE);
}

// The re-skin keeps the step buttons where they were, so the lower one would sit outside the shorter
// small-mode slider (or halfway up the taller one): it goes to the new mode's place.
void CMainDlg::PlaceAlbumStepDown() {
    CString key;
    key.Format("right_pos%d", m_sizeMode);
    POINT place = {};
    if (!ql_GetSettingPoint("DispSlider", key, g_skinSettingsPath, &place) || !m_sldDisplay.m_right.GetSafeHwnd())
        return;
    m_sldDisplay.m_right.SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void CMainDlg::OnAbout() {
    CAboutBox about;
    about.DoModal();
}

void CMainDlg::OnHelp() {
    char helpFile[MAX_PATH] = {};
    const CString longHelp = qelapp::ProgramFolder() + "HtmlHelp\\Tavorin.chm";
    if (!::GetShortPathNameA(longHelp, helpFile, MAX_PATH))
        return;
    char viewer[MAX_PATH] = {};
    if (reinterpret_cast<INT_PTR>(::FindExecutableA(helpFile, nullptr, viewer)) <= 32)
        return;
    char shortViewer[MAX_PATH] = {};
    if (!::GetShortPathNameA(viewer, shortViewer, MAX_PATH))
        return;
    CString command;
    command.Format("%s %s", shortViewer, helpFile);
    ::WinExec(command, SW_SHOWNORMAL);
}
