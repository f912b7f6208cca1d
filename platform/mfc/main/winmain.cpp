// The entry point of a program built on the layer: the application object (a global CWinApp) runs.
#include <afxwin.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow) {
    return AfxWinMain(instance, previous, commandLine, cmdShow);
}
