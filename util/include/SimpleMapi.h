#pragma once
// CSimpleMapi: e-mail through the registered mail client's Simple MAPI library, loaded at run time.
// One object per sending: Logon, SendMail (the client's compose window), Logoff. Every member returns a
// Simple MAPI code: 0 success, 1 the user cancelled, 2 failure, also when MAPI cannot be used. The
// library state is class-wide and unguarded: use the objects on one thread.
#include <afxtempl.h>
#include <windows.h>

#include <mapi.h>

#include "QelLib1Api.h"

class QELLIB1_API CSimpleMapi {
public:
    // No session; clears the class-wide connected flag (a loaded library stays loaded).
    CSimpleMapi();
    // Logs off an open session, then unloads the library for every object.
    virtual ~CSimpleMapi();

    // MAPILogon with the logon dialog allowed when no profile is given; a failure other than a cancel
    // is tried once more without profile, password or flags.
    ULONG Logon(HWND parent, char* profile, char* password);
    // 2 without a session; else MAPILogoff's code, and the session is gone.
    ULONG Logoff(HWND parent);
    // A message with only the files attached (paths may be null: none); a failure other than a cancel
    // is tried once more with MAPI_LOGON_UI added to flags.
    ULONG SendMail(HWND parent, CList<CString, CString&>* paths, ULONG flags);
    ULONG SendDocument(HWND parent, char* delimiter, char* paths, char* names);

    static HMODULE m_hMAPILibrary;
    static int m_bConnected;
    static LPMAPILOGON m_fnMAPILogon;
    static LPMAPILOGOFF m_fnMAPILogoff;
    static LPMAPISENDDOCUMENTS m_fnMAPISendDocuments;
    static LPMAPISENDMAIL m_fnMAPISendMail;

protected:
    // The registered mail client's MAPI library path into out (MAX_PATH bytes): "DllPathEx", else
    // "DllPath", environment strings expanded; a value that does not fit counts as absent. 1 when found.
    static int GetMapiDll(char* out);
    // 1 when the library is loaded with all four entry points (loading it when win.ini allows MAPI).
    static int _Connect_MapiLibrary();
    static void _Disconnect_MapiLibrary();

private:
    // Pointer-sized, as the platform's Simple MAPI declares it: a 64-bit session handle is kept whole.
    LHANDLE m_hSession;
};
