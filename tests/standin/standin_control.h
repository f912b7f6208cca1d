#pragma once
// For tests: the stand-in plug-in module, loaded into the test process (the same module COM then
// uses for the instances), registered under plug-in class IDs for the life of a scope.
#include <windows.h>

#include <string>
#include <vector>

#include "standin_exports.h"

namespace standin {

// The lines of a log file (see StandinModule::SetLogFile), filtered as StandinModule::Log does.
std::vector<std::string> ReadLogFile(const std::wstring& path, bool withLifetime = false);

class StandinModule {
public:
    StandinModule();
    ~StandinModule();
    StandinModule(const StandinModule&) = delete;
    StandinModule& operator=(const StandinModule&) = delete;

    bool Loaded() const { return module_ != nullptr; }

    HRESULT Register(REFCLSID clsid);
    HRESULT Unregister(REFCLSID clsid);
    HRESULT SetMode(REFCLSID clsid, DWORD mode) const;
    // The calls logged for clsid since the last ClearLog, one per entry ("#1 SetEnable(1)"). With
    // withLifetime false, the "Created", "Destroyed" and "QueryParams" entries are left out.
    std::vector<std::string> Log(REFCLSID clsid, bool withLifetime = false) const;
    void ClearLog() const;
    // Calls on instances of clsid in any process (the program under test too) go to path as well.
    HRESULT SetLogFile(REFCLSID clsid, const std::wstring& path) const;
    LONG LiveInstances(REFCLSID clsid) const;


private:
    HMODULE module_ = nullptr;
    std::vector<CLSID> registered_;
};

} // namespace standin
