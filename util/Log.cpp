// The trace log and the operating-system line it opens with.
#include "Log.h"

#include <windows.h>

#include <cstdarg>

#include "BoundedText.h"
#include "OsDescription.h"
#include "PathHelpers.h"

CLog::CLog() : m_path{}, m_on(0), m_started(1), m_file(nullptr) {}

CLog::~CLog() { Close(); }

void CLog::Close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

int CLog::file(char* path) {
    char chosen[qel::text::kPathBytes];
    if (path) {
        if (!qel::text::CopyBounded(chosen, sizeof chosen, path))
            return 0;
    } else {
        char folder[qel::text::kPathBytes];
        // The folder keeps its backslash: the doubled one that results is accepted by the file system.
        if (!ql_GetModulePath(nullptr, folder) || !qel::text::JoinBounded(chosen, sizeof chosen, {folder, "\\log.txt"}))
            return 0;
    }
    Close();
    qel::text::CopyBounded(m_path, sizeof m_path, chosen);
    m_file = std::fopen(m_path, "w+");
    if (!m_file)
        return 0;
    char description[qel::text::kPathBytes];
    if (!qel::DescribeOperatingSystem(description, sizeof description))
        return 0;
    std::fputs(description, m_file);
    std::fputs("\n", m_file);
    std::fflush(m_file);
    return 1;
}

void CLog::clear() {
    Close();
    m_file = std::fopen(m_path, "w+");
}

void CLog::trace(const char* format, ...) {
    if (!m_file || !format || !m_on || !m_started)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(m_file, format, args);
    va_end(args);
    std::fflush(m_file);
}

void CLog::turn_on(int on) { m_on = on; }

void CLog::start() { m_started = 1; }

void CLog::stop() { m_started = 0; }
