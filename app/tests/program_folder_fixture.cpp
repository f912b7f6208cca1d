#include "program_folder_fixture.h"

#include <fstream>
#include <sstream>

#include "ProgramFolder.h"

namespace apptest {

namespace {

ULONGLONG g_answeredFreeBytes = 0;

BOOL AnsweredFreeBytes(const char*, ULONGLONG* freeBytes) {
    *freeBytes = g_answeredFreeBytes;
    return TRUE;
}

} // namespace

ScopedProgramFolder::ScopedProgramFolder() { qelapp::RedirectProgramFolder(Folder().c_str()); }

ScopedProgramFolder::~ScopedProgramFolder() {
    qelapp::RedirectProgramFolder(nullptr);
    qelapp::RedirectFreeBytesQuery(nullptr);
}

void ScopedProgramFolder::WriteIni(const std::string& text) const {
    std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << text;
    // The profile calls may keep a cached copy of the file they saw last.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath().c_str());
}

std::string ScopedProgramFolder::IniText() const {
    std::ifstream in(IniPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ScopedProgramFolder::RawValue(const std::string& section, const std::string& key) const {
    std::istringstream lines(IniText());
    std::string line, current;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            current = line.substr(1, line.find(']') - 1);
            continue;
        }
        const size_t equals = line.find('=');
        if (current == section && equals != std::string::npos && line.substr(0, equals) == key)
            return line.substr(equals + 1);
    }
    return "<missing>";
}

void ScopedProgramFolder::AnswerFreeBytes(ULONGLONG bytes) {
    g_answeredFreeBytes = bytes;
    qelapp::RedirectFreeBytesQuery(AnsweredFreeBytes);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace apptest
