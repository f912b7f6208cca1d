#include "standin_log.h"

#include <objbase.h>

#include <map>
#include <mutex>
#include <vector>

namespace standin {
namespace {

struct ClsidLess {
    bool operator()(const CLSID& a, const CLSID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
};

struct Entry {
    CLSID clsid;
    int instance;
    std::string call;
};

struct State {
    std::mutex lock;
    std::map<CLSID, int, ClsidLess> created;
    std::map<CLSID, LONG, ClsidLess> live;
    std::map<CLSID, DWORD, ClsidLess> modes;
    std::vector<Entry> entries;
};

State& TheState() {
    static State state;
    return state;
}

std::wstring ClassKey(REFCLSID clsid) {
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return std::wstring(L"CLSID\\") + text;
}

// The registration may name a file that receives every call too, so that a test process can read
// the calls that another process (the program under test) made.
void AppendToLogFile(REFCLSID clsid, int instance, const std::string& call) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path - sizeof path[0];
    if (RegGetValueW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str(), kLogFileValue, RRF_RT_REG_SZ, nullptr, path,
                     &size) != ERROR_SUCCESS)
        return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = "#" + std::to_string(instance) + " " + call + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

HRESULT SetLogFile(REFCLSID clsid, const wchar_t* path) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str(), 0, KEY_SET_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(result);
    if (path && *path)
        result = RegSetValueExW(key, kLogFileValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                static_cast<DWORD>((wcslen(path) + 1) * sizeof *path));
    else
        result = RegDeleteValueW(key, kLogFileValue);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(result);
}

int AddInstance(REFCLSID clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    ++state.live[clsid];
    return ++state.created[clsid];
}

void RemoveInstance(REFCLSID clsid, int) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    --state.live[clsid];
}

LONG LiveInstances(const CLSID* clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    LONG count = 0;
    for (const auto& entry : state.live)
        if (!clsid || entry.first == *clsid)
            count += entry.second;
    return count;
}

void Log(REFCLSID clsid, int instance, const std::string& call) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.entries.push_back({clsid, instance, call});
    AppendToLogFile(clsid, instance, call);
}

std::string ReadLog(const CLSID* clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    std::string text;
    for (const Entry& entry : state.entries)
        if (!clsid || entry.clsid == *clsid)
            text += "#" + std::to_string(entry.instance) + " " + entry.call + "\n";
    return text;
}

// The instance numbering goes on: a number always names one instance of the process.
void ClearLog() {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.entries.clear();
}

void SetMode(REFCLSID clsid, DWORD mode) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.modes[clsid] = mode;
}

DWORD ModeOf(REFCLSID clsid) {
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.modes.find(clsid);
    return found == state.modes.end() ? 0 : found->second;
}

} // namespace standin
