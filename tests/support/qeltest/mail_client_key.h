#pragma once
// The prefix's mail client for one test: HKLM "SOFTWARE\Clients\Mail" names a client of the test's own
// whose values the test sets, and win.ini [MAIL] MAPI is switched on. Both are put back as they were
// when the object ends. Machine-wide: tests using it hold the CTest lock "qel_mail_client".
#include <windows.h>

#include <string>

namespace qeltest {

class ScopedMailClient {
public:
    ScopedMailClient();
    ~ScopedMailClient();
    ScopedMailClient(const ScopedMailClient&) = delete;
    ScopedMailClient& operator=(const ScopedMailClient&) = delete;

    // A value of the test's client key (type REG_SZ or REG_EXPAND_SZ); false when it cannot be written.
    bool SetValue(const char* name, const std::string& value, DWORD type = REG_SZ);
    // win.ini [MAIL] MAPI.
    bool SetMapiSwitch(const char* value);

private:
    bool hadClient_ = false;
    std::string savedClient_;
    bool hadSwitch_ = false;
    std::string savedSwitch_;
};

} // namespace qeltest
