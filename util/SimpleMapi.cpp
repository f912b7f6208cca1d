// Simple MAPI mail through the registered mail client's library, loaded at run time.
#include "SimpleMapi.h"

#include <afxtempl.h>

#include <vector>

namespace {

const char kMailClientsKey[] = "SOFTWARE\\Clients\\Mail";
const ULONG kNotAvailable = MAPI_E_FAILURE;

class RegKey {
public:
    RegKey(HKEY parent, const char* name) {
        if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The string value `name` into out (MAX_PATH bytes), expanded when it is REG_EXPAND_SZ. A value that is
// no string, or does not fit with its terminator, counts as absent.
bool ReadPathValue(HKEY key, const char* name, char* out) {
    char raw[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH; // one byte kept back so that an unterminated value still ends in raw
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(raw), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    if (lstrlenA(raw) >= MAX_PATH)
        return false;
    if (type == REG_SZ) {
        lstrcpyA(out, raw);
        return true;
    }
    const DWORD needed = ExpandEnvironmentStringsA(raw, out, MAX_PATH);
    return needed != 0 && needed <= MAX_PATH;
}

template <typename Fn>
bool Resolve(HMODULE library, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return out != nullptr;
}

ULONG_PTR UiParam(HWND parent) { return reinterpret_cast<ULONG_PTR>(parent); }

} // namespace

HMODULE CSimpleMapi::m_hMAPILibrary = nullptr;
int CSimpleMapi::m_bConnected = 0;
LPMAPILOGON CSimpleMapi::m_fnMAPILogon = nullptr;
LPMAPILOGOFF CSimpleMapi::m_fnMAPILogoff = nullptr;
LPMAPISENDDOCUMENTS CSimpleMapi::m_fnMAPISendDocuments = nullptr;
LPMAPISENDMAIL CSimpleMapi::m_fnMAPISendMail = nullptr;

CSimpleMapi::CSimpleMapi() : m_hSession(0) { m_bConnected = 0; }

CSimpleMapi::~CSimpleMapi() {
    if (m_hSession)
        Logoff(nullptr);
    _Disconnect_MapiLibrary();
}

int CSimpleMapi::GetMapiDll(char* out) {
    RegKey clients(HKEY_LOCAL_MACHINE, kMailClientsKey);
    if (!clients.Get())
        return 0;
    char client[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (RegQueryValueExA(clients.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(client), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || !client[0])
        return 0;

    char subkey[sizeof kMailClientsKey + MAX_PATH + 1];
    wsprintfA(subkey, "%s\\%s", kMailClientsKey, client);
    RegKey entry(HKEY_LOCAL_MACHINE, subkey);
    if (!entry.Get())
        return 0;
    for (const char* name : {"DllPathEx", "DllPath"}) {
        if (ReadPathValue(entry.Get(), name, out))
            return 1;
    }
    return 0;
}

int CSimpleMapi::_Connect_MapiLibrary() {
    if (m_hMAPILibrary)
        return 1;
    char library[MAX_PATH] = {};
    if (!GetMapiDll(library))
        lstrcpyA(library, "MAPI32.DLL");

    char found[MAX_PATH];
    if (GetProfileIntA("MAIL", "MAPI", 0) == 0 || SearchPathA(nullptr, library, nullptr, MAX_PATH, found, nullptr) == 0)
        return m_bConnected;

    m_hMAPILibrary = LoadLibraryA(library);
    if (!m_hMAPILibrary)
        return m_bConnected;
    const bool complete = Resolve(m_hMAPILibrary, "MAPILogoff", m_fnMAPILogoff) &&
                          Resolve(m_hMAPILibrary, "MAPILogon", m_fnMAPILogon) &&
                          Resolve(m_hMAPILibrary, "MAPISendDocuments", m_fnMAPISendDocuments) &&
                          Resolve(m_hMAPILibrary, "MAPISendMail", m_fnMAPISendMail);
    if (complete)
        m_bConnected = 1;
    else
        _Disconnect_MapiLibrary();
    return m_bConnected;
}

void CSimpleMapi::_Disconnect_MapiLibrary() {
    if (!m_hMAPILibrary || !FreeLibrary(m_hMAPILibrary))
        return;
    m_hMAPILibrary = nullptr;
    m_fnMAPILogon = nullptr;
    m_fnMAPILogoff = nullptr;
    m_fnMAPISendDocuments = nullptr;
    m_fnMAPISendMail = nullptr;
    m_bConnected = 0;
}

ULONG CSimpleMapi::Logon(HWND parent, char* profile, char* password) {
    if (!_Connect_MapiLibrary())
        return kNotAvailable;
    Logoff(nullptr);
    const FLAGS flags = (!profile || !*profile) ? MAPI_LOGON_UI : 0;
    ULONG result = m_fnMAPILogon(UiParam(parent), profile, password, flags, 0, &m_hSession);
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT)
        result = m_fnMAPILogon(UiParam(parent), nullptr, nullptr, 0, 0, &m_hSession);
    return result;
}

ULONG CSimpleMapi::Logoff(HWND parent) {
    if (!_Connect_MapiLibrary() || !m_hSession)
        return kNotAvailable;
    const ULONG result = m_fnMAPILogoff(m_hSession, UiParam(parent), 0, 0);
    m_hSession = 0;
    return result;
}

ULONG CSimpleMapi::SendMail(HWND parent, CList<CString, CString&>* paths, ULONG flags) {
    if (!_Connect_MapiLibrary())
        return kNotAvailable;
    std::vector<MapiFileDesc> files(paths ? static_cast<size_t>(paths->GetCount()) : 0);
    if (paths) {
        POSITION pos = paths->GetHeadPosition();
        for (MapiFileDesc& file : files) {
            file.nPosition = 0xFFFFFFFF; // not placed in the body
            file.lpszPathName = const_cast<char*>(static_cast<const char*>(paths->GetNext(pos)));
        }
    }
    MapiMessage message = {};
    message.nFileCount = static_cast<ULONG>(files.size());
    message.lpFiles = files.empty() ? nullptr : files.data();

    ULONG result = m_fnMAPISendMail(m_hSession, UiParam(parent), &message, flags, 0);
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT)
        result = m_fnMAPISendMail(m_hSession, UiParam(parent), &message, flags | MAPI_LOGON_UI, 0);
    return result;
}

ULONG CSimpleMapi::SendDocument(HWND parent, char* delimiter, char* paths, char* names) {
    if (!_Connect_MapiLibrary())
        return kNotAvailable;
    return m_fnMAPISendDocuments(UiParam(parent), delimiter, paths, names, 0);
}
