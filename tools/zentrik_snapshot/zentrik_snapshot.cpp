// Starts the program beside this tool, answers its start-up message boxes (printing each), lets it run
// a few seconds, saves what the screen shows of its window as a PNG and closes it in order.
//   zentrik_snapshot <Zentrik.exe> <shot.png> [seconds]
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string WindowText(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
    char cls[64] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    auto* text = reinterpret_cast<std::string*>(param);
    if (_stricmp(cls, "Static") == 0 && WindowText(child).size() > text->size())
        *text = WindowText(child);
    return TRUE;
}

BOOL CALLBACK AnswerBox(HWND window, LPARAM param) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    if (pid != static_cast<DWORD>(param) || std::string(cls) != "#32770" || !::IsWindowVisible(window))
        return TRUE;
    std::string text;
    ::EnumChildWindows(window, LongestStatic, reinterpret_cast<LPARAM>(&text));
    std::printf("message box \"%s\": %s (answered OK)\n", WindowText(window).c_str(), text.c_str());
    std::fflush(stdout);
    ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

int EncoderClsid(const WCHAR* mime, CLSID* clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (!size)
        return -1;
    auto* codecs = static_cast<Gdiplus::ImageCodecInfo*>(std::malloc(size));
    Gdiplus::GetImageEncoders(count, size, codecs);
    int found = -1;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            found = static_cast<int>(i);
        }
    std::free(codecs);
    return found;
}

bool SaveScreenPng(const RECT& r, const char* path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, old);
    bool saved = false;
    {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        CLSID png;
        std::wstring wide(path, path + std::strlen(path));
        saved = EncoderClsid(L"image/png", &png) >= 0 && picture.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

// Answers boxes for ms; the frame once it is shown (null while there is none).
HWND RunFor(const PROCESS_INFORMATION& process, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    HWND frame = nullptr;
    do {
        ::EnumWindows(AnswerBox, static_cast<LPARAM>(process.dwProcessId));
        frame = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr);
        if (::WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            return nullptr;
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
    return frame;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zentrik_snapshot <Zentrik.exe> <shot.png> [seconds]\n");
        return 2;
    }
    const DWORD seconds = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 5;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string command = std::string("\"") + argv[1] + "\"";
    if (!::CreateProcessA(argv[1], &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[1], ::GetLastError());
        return 1;
    }
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    int result = 0;
    HWND frame = RunFor(process, seconds * 1000);
    if (!frame) {
        std::fprintf(stderr, "the program ended or showed no window\n");
        result = 1;
    } else {
        RECT r;
        ::GetWindowRect(frame, &r);
        if (SaveScreenPng(r, argv[2])) {
            std::printf("screenshot saved\n");
        } else {
            std::fprintf(stderr, "the screenshot could not be saved\n");
            result = 1;
        }
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        std::fprintf(stderr, "the program did not close\n");
        result = 1;
    }
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    Gdiplus::GdiplusShutdown(token);
    return result;
}
