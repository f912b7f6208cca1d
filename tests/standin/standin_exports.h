#pragma once
// What the stand-in plug-in module (qel_standin_plugin.ax) exports beside its COM entry points. The
// module passes frames through unchanged and can be registered under any plug-in class ID; each
// instance answers the parameter layout of the class it was created as and logs every call made on
// it, for the test process that loaded it to read.
#include <windows.h>

namespace standin {

constexpr const char kModuleFile[] = "qel_standin_plugin.ax";

// Behaviour of the instances of one class ID (flags).
enum StandinMode : DWORD {
    kPassThrough = 0,
    kRefuseInput = 0x1,    // the input pin accepts no media type
    kRefuseOutput = 0x2,   // the output pin accepts no media type
};

// Registers the module as the in-process server of clsid (in the prefix's registry).
typedef HRESULT(WINAPI* RegisterFunc)(const CLSID* clsid);
// Removes that registration when it is this module's; S_FALSE when the class belongs to another.
typedef HRESULT(WINAPI* UnregisterFunc)(const CLSID* clsid);
typedef HRESULT(WINAPI* SetModeFunc)(const CLSID* clsid, DWORD mode);
// The log of one class (null: every class), one line per call: "#<instance> <call>", instances
// numbered from 1 per class in order of creation. Returns the characters needed with the terminator;
// writes at most size of them.
typedef int(WINAPI* ReadLogFunc)(const CLSID* clsid, char* buffer, int size);
typedef void(WINAPI* ClearLogFunc)();
// Every later call on an instance of the (registered) class, in any process, is appended to the file
// at path too, one "#<instance> <call>" line each; a null or empty path stops that. The path is kept
// in the class's registration, so unregistering ends it.
typedef HRESULT(WINAPI* SetLogFileFunc)(const CLSID* clsid, const wchar_t* path);
// Instances of the class alive now (null: of every class).
typedef LONG(WINAPI* LiveInstancesFunc)(const CLSID* clsid);

constexpr const char kRegisterExport[] = "QelStandinRegister";
constexpr const char kUnregisterExport[] = "QelStandinUnregister";
constexpr const char kSetModeExport[] = "QelStandinSetMode";
constexpr const char kReadLogExport[] = "QelStandinReadLog";
constexpr const char kClearLogExport[] = "QelStandinClearLog";
constexpr const char kSetLogFileExport[] = "QelStandinSetLogFile";
constexpr const char kLiveInstancesExport[] = "QelStandinLiveInstances";

} // namespace standin
