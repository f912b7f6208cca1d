// A Simple MAPI client of our own for tests: the four entry points record each call, one line each, in
// the file that QEL_FAKE_MAPI_LOG names. QEL_FAKE_MAPI_LOGON and QEL_FAKE_MAPI_SEND list the codes the
// successive MAPILogon and MAPISendMail calls answer ("2,0": fail once, then succeed; 0 when the list is
// used up). A successful logon hands out a session wider than 32 bits, so that a caller that cuts it
// shows in the log.
#include <windows.h>

#include <mapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const LHANDLE kSession = static_cast<LHANDLE>(0x12345678ABCULL);

HMODULE self = nullptr;
int logonCalls = 0;
int sendCalls = 0;

std::string Env(const char* name) {
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void Record(const char* format, ...) {
    const std::string path = Env("QEL_FAKE_MAPI_LOG");
    if (path.empty())
        return;
    char line[2048];
    va_list args;
    va_start(args, format);
    const int length = vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (length < 0)
        return;
    std::string text(line, length < static_cast<int>(sizeof line) - 2 ? length : sizeof line - 3);
    text += "\r\n";
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// The n-th (0-based) code of the comma-separated list in the variable; 0 past its end.
ULONG Scripted(const char* variable, int n) {
    const std::string list = Env(variable);
    size_t start = 0;
    for (int i = 0; start <= list.size(); ++i) {
        const size_t end = list.find(',', start);
        const std::string item = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (i == n)
            return item.empty() ? 0 : std::strtoul(item.c_str(), nullptr, 10);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return SUCCESS_SUCCESS;
}

const char* Text(const char* text) { return text ? text : "(null)"; }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        char path[MAX_PATH] = {};
        GetModuleFileNameA(self, path, MAX_PATH);
        Record("load %s", path);
    }
    return TRUE;
}

extern "C" ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG,
                                  LPLHANDLE session) {
    const ULONG result = Scripted("QEL_FAKE_MAPI_LOGON", logonCalls++);
    Record("MAPILogon ui=%llx profile=%s password=%s flags=%lu result=%lu", static_cast<unsigned long long>(ui),
           Text(profile), Text(password), flags, result);
    if (session)
        *session = result == SUCCESS_SUCCESS ? kSession : 0;
    return result;
}

extern "C" ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG) {
    Record("MAPILogoff session=%llx ui=%llx flags=%lu", static_cast<unsigned long long>(session),
           static_cast<unsigned long long>(ui), flags);
    return SUCCESS_SUCCESS;
}

extern "C" ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage message, FLAGS flags, ULONG) {
    const ULONG result = Scripted("QEL_FAKE_MAPI_SEND", sendCalls++);
    const ULONG count = message ? message->nFileCount : 0;
    Record("MAPISendMail session=%llx ui=%llx flags=%lu files=%lu recipients=%lu result=%lu",
           static_cast<unsigned long long>(session), static_cast<unsigned long long>(ui), flags, count,
           message ? message->nRecipCount : 0, result);
    for (ULONG i = 0; message && message->lpFiles && i < count; ++i) {
        const MapiFileDesc& file = message->lpFiles[i];
        Record("attach position=%lx path=%s", file.nPosition, Text(file.lpszPathName));
    }
    return result;
}

#ifndef QEL_FAKE_MAPI_WITHOUT_SEND_DOCUMENTS
extern "C" ULONG WINAPI MAPISendDocuments(ULONG_PTR ui, LPSTR delimiter, LPSTR paths, LPSTR names, ULONG) {
    Record("MAPISendDocuments ui=%llx delimiter=%s paths=%s names=%s", static_cast<unsigned long long>(ui),
           Text(delimiter), Text(paths), Text(names));
    return SUCCESS_SUCCESS;
}
#endif
