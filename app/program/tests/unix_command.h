#pragma once
// A shell command of the machine Wine runs on, started from the test (Wine starts Unix programs
// through CreateProcess): for what only the host can do, such as driving the X pointer or mounting
// a small file system.
#include <string>

namespace programtest {

// Runs script with /bin/sh and waits for its end (a hang guard of 10 s); its exit status in *status.
// False, with why, when the shell did not start or did not end in time.
bool RunUnixShell(const std::string& script, int* status, std::string* why);

// A name under the host's /tmp for this process alone. Windows process ids are counted per Wine
// session, and test runs in sessions of their own (each its own prefix) share /tmp, so the name
// also carries the session's prefix.
std::string UnixTempName(const char* stem);

// The Windows path of a Unix path, through Wine's Z: drive (the Unix root).
std::string WindowsPathOfUnix(const std::string& unixPath);

} // namespace programtest
