// Pixwander.scr: our stand-in for the screen saver the program starts. With "-s" (or "/s") it shows the
// pictures of the folder that "qelscr.ini" beside it names ([File_Path] Folder_Path), one after another,
// full screen on black, until a key or a mouse button is pressed. Any other command line does nothing.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kClass[] = L"QelPixwander";
const UINT_PTR kNextTimer = 1;
const UINT kShowMs = 3000;

struct Show {
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> pictures;
    size_t current = 0;
};
Show show;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

bool IsPicture(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return false;
    std::wstring ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), ::towlower);
    for (const wchar_t* known : {L"bmp", L"jpg", L"jpeg", L"png", L"gif", L"tif", L"tiff"})
        if (ext == known)
            return true;
    return false;
}

void LoadPictures() {
    wchar_t folder[MAX_PATH] = {};
    GetPrivateProfileStringW(L"File_Path", L"Folder_Path", L"", folder, MAX_PATH,
                             (ProgramFolder() + L"qelscr.ini").c_str());
    if (!folder[0])
        return;
    std::wstring base = folder;
    if (base.back() != L'\\')
        base += L'\\';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPicture(found.cFileName))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    for (const std::wstring& name : names) {
        auto picture = std::make_unique<Gdiplus::Bitmap>((base + name).c_str());
        if (picture->GetLastStatus() == Gdiplus::Ok && picture->GetWidth() > 0)
            show.pictures.push_back(std::move(picture));
    }
}

// The picture as large as the screen allows, its shape kept, centred.
void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!show.pictures.empty()) {
        Gdiplus::Bitmap& picture = *show.pictures[show.current];
        const double scale = std::min(static_cast<double>(client.right) / picture.GetWidth(),
                                      static_cast<double>(client.bottom) / picture.GetHeight());
        const int w = static_cast<int>(picture.GetWidth() * scale);
        const int h = static_cast<int>(picture.GetHeight() * scale);
        Gdiplus::Graphics graphics(dc);
        // Edge pixels mirrored outwards: a scaled picture then keeps clean borders instead of fading to black.
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.DrawImage(&picture, Gdiplus::Rect((client.right - w) / 2, (client.bottom - h) / 2, w, h), 0, 0,
                           static_cast<INT>(picture.GetWidth()), static_cast<INT>(picture.GetHeight()),
                           Gdiplus::UnitPixel, &edges);
    } else {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, L"No pictures", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (!show.pictures.empty()) {
            show.current = (show.current + 1) % show.pictures.size();
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, kNextTimer);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool WantsShow(const wchar_t* commandLine) {
    std::wstring text = commandLine;
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
    return text.find(L"-s") != std::wstring::npos || text.find(L"/s") != std::wstring::npos;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The whole command line: the program names itself first ("Pixwander.scr -s").
    if (!WantsShow(GetCommandLineW()))
        return 0;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 1;
    LoadPictures();

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, kClass, L"Pixwander", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    int code = 1;
    if (window) {
        // The starter may ask for a hidden window; a screen saver shows itself whatever it is asked.
        ShowWindow(window, SW_SHOW);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetTimer(window, kNextTimer, kShowMs, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        code = 0;
    }
    show.pictures.clear(); // before GDI+ goes
    Gdiplus::GdiplusShutdown(token);
    return code;
}
