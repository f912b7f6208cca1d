// The prefix's mail client key and MAPI switch, set for one test and put back.
#include "qeltest/mail_client_key.h"

namespace qeltest {
namespace {

const char kClients[] = "SOFTWARE\\Clients\\Mail";
const char kTestClient[] = "Qel Test Mail";
const char kTestClientKey[] = "SOFTWARE\\Clients\\Mail\\Qel Test Mail";
const char kUnset[] = "\x01unset";

bool ReadDefault(std::string& out) {
    char value[1024] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_LOCAL_MACHINE, kClients, value, &size) != ERROR_SUCCESS || !value[0])
        return false;
    out = value;
    return true;
}

void WriteDefault(const std::string& value) {
    RegSetValueA(HKEY_LOCAL_MACHINE, kClients, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

} // namespace

ScopedMailClient::ScopedMailClient() {
    hadClient_ = ReadDefault(savedClient_);
    char value[256] = {};
    GetProfileStringA("MAIL", "MAPI", kUnset, value, sizeof value);
    hadSwitch_ = std::string(value) != kUnset;
    savedSwitch_ = value;

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestClientKey);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestClientKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
    WriteDefault(kTestClient);
    SetMapiSwitch("1");
}

ScopedMailClient::~ScopedMailClient() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestClientKey);
    if (hadClient_) {
        WriteDefault(savedClient_);
    } else {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClients, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
    }
    WriteProfileStringA("MAIL", "MAPI", hadSwitch_ ? savedSwitch_.c_str() : nullptr);
}

bool ScopedMailClient::SetValue(const char* name, const std::string& value, DWORD type) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestClientKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool ScopedMailClient::SetMapiSwitch(const char* value) {
    return WriteProfileStringA("MAIL", "MAPI", value) != FALSE;
}

} // namespace qeltest
