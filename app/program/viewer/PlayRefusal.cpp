#include "PlayRefusal.h"

#include <afxhook.h>
#include <afxwin.h>

void TellClipCannotPlay(HWND owner, const char* path, bool didNotAnswer) {
    CString text;
    // The name the album shows, without its folder.
    const char* name = path ? path : "";
    for (const char* at = name; *at; ++at)
        if (*at == '\\' || *at == '/')
            name = at + 1;
    if (didNotAnswer)
        text.Format("Cannot play %s: the clip does not answer.", name);
    else
        text.Format("Cannot play %s.", name);
    AfxShowMessageBox(owner, text, "Error", MB_OK);
}
