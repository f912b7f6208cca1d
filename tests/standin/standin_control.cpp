#include "standin_control.h"

#include <algorithm>
#include <sstream>

namespace standin {
namespace {

template <class Function>
Function Export(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

std::vector<std::string> LogLines(const std::string& text, bool withLifetime) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        const bool lifetime = line.find(" Created") != std::string::npos ||
                              line.find(" Destroyed") != std::string::npos ||
                              line.find(" QueryParams") != std::string::npos;
        if (withLifetime || !lifetime)
            lines.push_back(line);
    }
    return lines;
}

} // namespace

std::vector<std::string> ReadLogFile(const std::wstring& path, bool withLifetime) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return LogLines(text, withLifetime);
}

StandinModule::StandinModule() : module_(LoadLibraryA(kModuleFile)) {}

StandinModule::~StandinModule() {
    for (const CLSID& clsid : std::vector<CLSID>(registered_))
        Unregister(clsid);
    // COM may still hold the module; this only drops the test's own reference.
    if (module_)
        FreeLibrary(module_);
}

HRESULT StandinModule::Register(REFCLSID clsid) {
    auto call = Export<RegisterFunc>(module_, kRegisterExport);
    if (!call)
        return E_NOINTERFACE;
    const HRESULT hr = call(&clsid);
    if (SUCCEEDED(hr) && std::find(registered_.begin(), registered_.end(), clsid) == registered_.end())
        registered_.push_back(clsid);
    return hr;
}

HRESULT StandinModule::Unregister(REFCLSID clsid) {
    auto call = Export<UnregisterFunc>(module_, kUnregisterExport);
    if (!call)
        return E_NOINTERFACE;
    registered_.erase(std::remove(registered_.begin(), registered_.end(), clsid), registered_.end());
    return call(&clsid);
}

HRESULT StandinModule::SetMode(REFCLSID clsid, DWORD mode) const {
    auto call = Export<SetModeFunc>(module_, kSetModeExport);
    return call ? call(&clsid, mode) : E_NOINTERFACE;
}

std::vector<std::string> StandinModule::Log(REFCLSID clsid, bool withLifetime) const {
    std::vector<std::string> lines;
    auto call = Export<ReadLogFunc>(module_, kReadLogExport);
    if (!call)
        return lines;
    std::string text(static_cast<size_t>(call(&clsid, nullptr, 0)), '\0');
    call(&clsid, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return LogLines(text, withLifetime);
}

HRESULT StandinModule::SetLogFile(REFCLSID clsid, const std::wstring& path) const {
    auto call = Export<SetLogFileFunc>(module_, kSetLogFileExport);
    return call ? call(&clsid, path.c_str()) : E_NOINTERFACE;
}

void StandinModule::ClearLog() const {
    if (auto call = Export<ClearLogFunc>(module_, kClearLogExport))
        call();
}

LONG StandinModule::LiveInstances(REFCLSID clsid) const {
    auto call = Export<LiveInstancesFunc>(module_, kLiveInstancesExport);
    return call ? call(&clsid) : -1;
}

} // namespace standin
