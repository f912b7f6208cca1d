#pragma once
// CLog: a trace file that opens with a line describing the operating system and then takes
// printf-style text while tracing is switched on (turn_on) and running (start/stop).
#include <cstdio>

#include "QelLib1Api.h"

class QELLIB1_API CLog {
public:
    CLog();
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // Opens path (null: "log.txt" in the program's folder) emptied, and writes the system description.
    // 1 when the description was written; 0 when the path is 260 characters or more (nothing is
    // opened), the file cannot be opened or the version cannot be read.
    int file(char* path);
    // Empties the file: reopens the same path emptied, without a description.
    void clear();
    // Writes the formatted text (no newline added) and flushes, while the file is open, on and started.
    void trace(const char* format, ...);
    void turn_on(int on);
    void start();
    void stop();

private:
    void Close();

    char m_path[260];
    int m_on;
    int m_started;
    FILE* m_file;
};
