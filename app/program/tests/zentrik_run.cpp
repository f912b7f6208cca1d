#include "zentrik_run.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "unix_command.h"

namespace programtest {

namespace {

const char kWmfKey[] = "Software\\Microsoft\\Multimedia\\Components\\Informational\\playback_WMFSDK\\Files\\File1";

// A Unix path of the build as Wine sees it (drive Z: is the root).
std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

void CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((from + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            ::CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

struct BoxSearch {
    DWORD pid;
    std::vector<HWND> boxes;
};

// The program's own dialogs share the message boxes' class; the tests drive them, never answer them.
// The camera's property frame is captioned "Video Setting" in some wording of the system's own.
bool IsProgramDialog(const std::string& caption) {
    return caption == "Enhance" || caption == "Effects" || caption == "Setup" ||
           caption.find("Video Setting") != std::string::npos;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    if (pid == search->pid && std::string(cls) == "#32770" && ::IsWindowVisible(window) &&
        !IsProgramDialog(WindowText(window)))
        search->boxes.push_back(window);
    return TRUE;
}

// A message box's text: its longest static text.
BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
    char cls[64] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    auto* text = reinterpret_cast<std::string*>(param);
    if (_stricmp(cls, "Static") == 0) {
        const std::string own = WindowText(child);
        if (own.size() > text->size())
            *text = own;
    }
    return TRUE;
}

struct CountSearch {
    DWORD pid;
    const char* className;
    int count;
};

BOOL CALLBACK CountWindows(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CountSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    if ((!search->pid || pid == search->pid) && std::string(cls) == search->className)
        ++search->count;
    return TRUE;
}

} // namespace

ZentrikRun::ZentrikRun(bool skin) {
    ::CopyFileA(WindowsPath(QEL_ZENTRIK_EXE).c_str(), exePath().c_str(), FALSE);
    // The viewer's screen sampler lies beside the program, as installed.
    std::string sampler = WindowsPath(QEL_ZENTRIK_EXE);
    sampler = sampler.substr(0, sampler.find_last_of('\\') + 1) + "ScreenSampler.exe";
    ::CopyFileA(sampler.c_str(), dir_.File("ScreenSampler.exe").c_str(), FALSE);
    const std::string skinFolder = dir_.File("skin\\default");
    ::CreateDirectoryA(dir_.File("skin").c_str(), nullptr);
    if (skin)
        CopyTree(WindowsPath(QEL_SKIN_DIR), skinFolder);
    else
        ::CreateDirectoryA(skinFolder.c_str(), nullptr);
    // Captures go inside the test's folder, never into the user's documents.
    WriteIni("[Basic]\r\nImage Folder=" + dir_.File("pictures") + "\r\nVideo Folder=" + dir_.File("videos") +
             "\r\n");
}

ZentrikRun::~ZentrikRun() {
    if (info_.hProcess) {
        if (Running()) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
        ::CloseHandle(info_.hProcess);
        if (info_.hThread)
            ::CloseHandle(info_.hThread);
    }
    if (!unixEndMarker_.empty())
        ::DeleteFileA(unixEndMarker_.c_str());
}

bool ZentrikRun::UseTestBuild() const {
#ifdef QEL_ZENTRIK_TEST_BUILD
    // The playback library's test build lies beside the program's and is found before the installed one.
    const std::string program = WindowsPath(QEL_ZENTRIK_TEST_BUILD);
    const std::string playback = program.substr(0, program.find_last_of('\\') + 1) + "Fluvant.dll";
    return ::CopyFileA(program.c_str(), exePath().c_str(), FALSE) &&
           ::CopyFileA(playback.c_str(), dir_.File("Fluvant.dll").c_str(), FALSE);
#else
    return false;
#endif
}

void ZentrikRun::AddFile(const std::string& unixPath, const char* name) const {
    ::CopyFileA(WindowsPath(unixPath).c_str(), dir_.File(name).c_str(), FALSE);
}

void ZentrikRun::WriteIni(const std::string& text) const {
    std::ofstream(IniPath(), std::ios::binary) << text;
}

std::string ZentrikRun::IniText() const {
    std::ifstream in(IniPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ZentrikRun::IniValue(const char* section, const char* key) const {
    char value[512] = {};
    ::GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, IniPath().c_str());
    return value;
}

void ZentrikRun::ExpectBox(const std::string& caption, const std::string& text, int answer) {
    expected_.push_back({caption, text, answer});
}

void ZentrikRun::SetIniValue(const char* section, const char* key, const char* value) const {
    ::WritePrivateProfileStringA(section, key, value, IniPath().c_str());
}

bool ZentrikRun::Launch(PROCESS_INFORMATION* process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + exePath() + "\"";
    return ::CreateProcessA(exePath().c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.Path().c_str(),
                            &startup, process) != FALSE;
}

bool ZentrikRun::Start() {
    if (info_.hProcess) { // a run before this one has ended
        ::CloseHandle(info_.hProcess);
        ::CloseHandle(info_.hThread);
        info_ = {};
    }
    if (!Launch(&info_)) {
        ADD_FAILURE() << "Zentrik.exe did not start: error " << ::GetLastError();
        return false;
    }
    return true;
}

namespace {

// The process of the program at exePath, opened for the waits; null when none runs.
HANDLE OpenProgramProcess(const std::string& exePath, DWORD* pid) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return nullptr;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    HANDLE found = nullptr;
    for (BOOL more = ::Process32First(snapshot, &entry); more && !found; more = ::Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, "Zentrik.exe") != 0)
            continue;
        HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE,
                                       FALSE, entry.th32ProcessID);
        char image[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        if (process && ::QueryFullProcessImageNameA(process, 0, image, &length) && _stricmp(image, exePath.c_str()) == 0) {
            found = process;
            *pid = entry.th32ProcessID;
        } else if (process) {
            ::CloseHandle(process);
        }
    }
    ::CloseHandle(snapshot);
    return found;
}

} // namespace

bool ZentrikRun::StartFromUnixShell() {
    const std::string marker = UnixTempName("zentrik_end");
    unixEndMarker_ = WindowsPathOfUnix(marker);
    // In the background: the shell that starts it ends at once, the one around the program writes its
    // status (renamed into place whole) when the wine command ends.
    const std::string script = "(wine '" + exePath() + "'; echo $? > " + marker + ".part; mv " + marker + ".part " +
                               marker + ") </dev/null >/dev/null 2>&1 & true";
    int status = 0;
    std::string why;
    if (!RunUnixShell(script, &status, &why) || status != 0) {
        ADD_FAILURE() << "the shell did not start Zentrik.exe: " << why;
        return false;
    }
    const DWORD end = ::GetTickCount() + 30000;
    DWORD pid = 0;
    HANDLE process = nullptr;
    while (!(process = OpenProgramProcess(exePath(), &pid)) && static_cast<LONG>(end - ::GetTickCount()) > 0)
        ::Sleep(50);
    if (!process) {
        ADD_FAILURE() << "Zentrik.exe started from the shell was not seen within 30 s";
        return false;
    }
    info_ = {};
    info_.hProcess = process;
    info_.dwProcessId = pid;
    return true;
}

int ZentrikRun::UnixEndStatus(DWORD ms) const {
    if (unixEndMarker_.empty())
        return -1;
    const DWORD end = ::GetTickCount() + ms;
    while (::GetFileAttributesA(unixEndMarker_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return -1;
        ::Sleep(20);
    }
    std::ifstream in(unixEndMarker_);
    std::string text;
    std::getline(in, text);
    return text.empty() ? -1 : std::atoi(text.c_str());
}

DWORD ZentrikRun::StartAnotherAndWait(DWORD ms) {
    PROCESS_INFORMATION second = {};
    if (!Launch(&second))
        return static_cast<DWORD>(-2);
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(second.hProcess, ms) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(second.hProcess, &code);
    else
        ::TerminateProcess(second.hProcess, 99);
    ::CloseHandle(second.hProcess);
    ::CloseHandle(second.hThread);
    return code;
}

void ZentrikRun::AnswerBoxes() {
    BoxSearch search{info_.dwProcessId, {}};
    ::EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    // A box answered before may still be up on a busy machine: it is the same box, not a new one.
    for (auto it = answered_.begin(); it != answered_.end();)
        it = ::IsWindow(*it) ? it + 1 : answered_.erase(it);
    for (HWND box : search.boxes) {
        if (std::find(answered_.begin(), answered_.end(), box) != answered_.end())
            continue;
        SeenBox seen{WindowText(box), ""};
        ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&seen.text));
        // Wine shows a message box a moment before it has its caption and text: answered once filled.
        if (seen.caption.empty() && seen.text.empty())
            continue;
        std::printf("box \"%s\": %s\n", seen.caption.c_str(), seen.text.c_str());
        bool wanted = false;
        for (auto it = expected_.begin(); it != expected_.end(); ++it)
            if (it->caption == seen.caption && seen.text.compare(0, it->text.size(), it->text) == 0) {
                seen.answer = it->answer;
                expected_.erase(it);
                wanted = true;
                break;
            }
        EXPECT_TRUE(wanted) << "unexpected box \"" << seen.caption << "\": " << seen.text;
        seen_.push_back(seen);
        answered_.push_back(box);
        ::PostMessageA(box, WM_COMMAND, seen.answer, 0);
        if (seen.answer == IDOK)
            ::PostMessageA(box, WM_CLOSE, 0, 0);
    }
}

std::vector<SeenBox> ZentrikRun::MissingBoxes() const { return expected_; }

void ZentrikRun::WaitForExpectedBoxes(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (!expected_.empty() && Running() && static_cast<LONG>(end - ::GetTickCount()) > 0)
        Pump(50);
}

HWND ZentrikRun::WaitForDialog(const char* caption, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        for (HWND window = ::FindWindowA("#32770", caption); window;
             window = ::FindWindowExA(nullptr, window, "#32770", caption)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == info_.dwProcessId && ::IsWindowVisible(window)) {
                Pump(200); // its initialisation has run by the time it shows; let it paint
                return window;
            }
        }
        Pump(50);
    } while (Running() && static_cast<LONG>(end - ::GetTickCount()) > 0);
    return nullptr;
}

bool ZentrikRun::WaitForDialogEnd(HWND dialog, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (::IsWindow(dialog) && static_cast<LONG>(end - ::GetTickCount()) > 0)
        Pump(50);
    return !::IsWindow(dialog);
}

void ZentrikRun::Pump(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        AnswerBoxes();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::Sleep(20);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

bool ZentrikRun::WaitForMainWindow(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0 && Running()) {
        AnswerBoxes();
        HWND frame = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr);
        DWORD pid = 0;
        if (frame)
            ::GetWindowThreadProcessId(frame, &pid);
        HWND dialog = frame ? ::GetWindow(frame, GW_CHILD) : nullptr;
        // The dialog is ready once its last control is bound and the frame has its size.
        if (pid == info_.dwProcessId && dialog && ::IsWindowVisible(frame) && ::GetDlgItem(dialog, 1085)) {
            frame_ = frame;
            dialog_ = dialog;
            // Start-up ends when the program first waits for input: the frame then has its place.
            ::WaitForInputIdle(info_.hProcess, static_cast<DWORD>(end - ::GetTickCount()));
            Pump(200);
            return true;
        }
        ::Sleep(20);
    }
    return false;
}

DWORD ZentrikRun::WaitForExit(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (Running() && static_cast<LONG>(end - ::GetTickCount()) > 0) {
        AnswerBoxes();
        ::WaitForSingleObject(info_.hProcess, 20);
    }
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 5000);
        return static_cast<DWORD>(-1);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ZentrikRun::Running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

RECT ZentrikRun::ControlRect(int id) const {
    RECT rect = {};
    ::GetWindowRect(Control(id), &rect);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ZentrikRun::TopLevelWindowCount(const char* className) const {
    CountSearch search{0, className, 0};
    ::EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

RECT SkinRect(const std::string& skinIni, const char* section, int mode) {
    char key[16];
    wsprintfA(key, "rect%d", mode);
    char value[128] = {};
    ::GetPrivateProfileStringA(section, key, "", value, sizeof value, skinIni.c_str());
    int x = 0, y = 0, w = 0, h = 0;
    std::sscanf(value, "%d,%d,%d,%d", &x, &y, &w, &h);
    return RECT{x, y, x + w, y + h};
}

namespace {

// A string value of a key; false when the key or the value is absent.
bool ReadRegText(HKEY root, const char* path, const char* name, std::string* text) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[260] = {};
    DWORD size = sizeof value - 1;
    const bool read =
        ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    *text = value;
    return read;
}

void WriteRegText(HKEY root, const char* path, const char* name, const std::string& text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
}

} // namespace

ScopedWmfKey::ScopedWmfKey(bool present) {
    hadKey_ = ReadRegText(HKEY_LOCAL_MACHINE, kWmfKey, "Version", &oldVersion_);
    if (present)
        WriteRegText(HKEY_LOCAL_MACHINE, kWmfKey, "Version", "9.0");
    else
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kWmfKey);
}

ScopedWmfKey::~ScopedWmfKey() {
    if (hadKey_)
        WriteRegText(HKEY_LOCAL_MACHINE, kWmfKey, "Version", oldVersion_);
    else
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kWmfKey);
}

namespace {

const char kWineDrivers[] = "Software\\Wine\\Drivers";

} // namespace

ScopedNoSoundDriver::ScopedNoSoundDriver() {
    hadValue_ = ReadRegText(HKEY_CURRENT_USER, kWineDrivers, "Audio", &oldValue_);
    WriteRegText(HKEY_CURRENT_USER, kWineDrivers, "Audio", "");
}

ScopedNoSoundDriver::~ScopedNoSoundDriver() {
    if (hadValue_) {
        WriteRegText(HKEY_CURRENT_USER, kWineDrivers, "Audio", oldValue_);
        return;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kWineDrivers, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueA(key, "Audio");
        ::RegCloseKey(key);
    }
}

} // namespace programtest
