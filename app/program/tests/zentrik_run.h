#pragma once
// The real program under test: Zentrik.exe copied into a program folder of the test's own with the
// skin beside it, started as a separate process, its windows reached by id, its message boxes answered
// (each logged; one the test did not expect fails it), and its end awaited with a limit.
#include <windows.h>

#include <string>
#include <vector>

#include "qeltest/temp_dir.h"

namespace programtest {

struct SeenBox {
    std::string caption;
    std::string text;
    int answer = IDOK; // the button an expected box is answered with
};

class ZentrikRun {
public:
    // skin: copy the default skin beside the program (false: an empty skin folder).
    explicit ZentrikRun(bool skin = true);
    ~ZentrikRun(); // ends a program still running, by its handle

    ZentrikRun(const ZentrikRun&) = delete;
    ZentrikRun& operator=(const ZentrikRun&) = delete;

    std::string Folder() const { return dir_.Path() + "\\"; }
    std::string IniPath() const { return dir_.File("Zentrik.ini"); }
    void WriteIni(const std::string& text) const;
    std::string IniText() const;
    std::string IniValue(const char* section, const char* key) const; // "<missing>" when absent
    // Runs the test build of the program in place of the installed one (before Start): the same program
    // with the album's test seams read from the environment (test_build_seams.cpp), beside the playback
    // library's test build.
    bool UseTestBuild() const;
    // Puts a copy of file (a path of the build, as a Unix path) beside the program under name.
    void AddFile(const std::string& unixPath, const char* name) const;
    std::string SkinIni() const { return dir_.File("skin\\default\\Zentrik\\Settings.ini"); }

    // One key of the settings file, written before the start.
    void SetIniValue(const char* section, const char* key, const char* value) const;

    // Boxes the test expects, by caption and the start of their text; each may show once, and is
    // answered with the button answer.
    void ExpectBox(const std::string& caption, const std::string& text, int answer = IDOK);

    bool Start();
    // Starts the program through the wine command from a Unix shell, as a user starts it from a
    // terminal: the Unix side then sees its end too (UnixEndStatus), where a crash in the process's
    // teardown shows as a signal although the Windows exit code reads 0.
    bool StartFromUnixShell();
    // The Unix status the wine command ended with (128 + the signal's number after a signal), waited
    // for at most ms once the process has ended; -1 when none came.
    int UnixEndStatus(DWORD ms) const;
    // A second process of the same program; its exit code, or -1 when it did not end within ms.
    DWORD StartAnotherAndWait(DWORD ms);
    // Waits for the main frame and its dialog, answering boxes meanwhile.
    bool WaitForMainWindow(DWORD ms);
    // A visible dialog of the program (class "#32770") with this caption, waited for while boxes are
    // answered; null when none showed within ms. The program's own dialogs are never answered as boxes.
    HWND WaitForDialog(const char* caption, DWORD ms);
    bool WaitForDialogEnd(HWND dialog, DWORD ms);
    // Answers boxes and handles nothing else for ms.
    void Pump(DWORD ms);
    // The exit code once the process has ended within ms; else the process is ended and -1 returned.
    DWORD WaitForExit(DWORD ms);
    bool Running() const;

    HWND Frame() const { return frame_; }
    HWND Dialog() const { return dialog_; }
    HWND Control(int id) const { return ::GetDlgItem(dialog_, id); }
    // A control's rectangle in the dialog's client coordinates.
    RECT ControlRect(int id) const;
    DWORD ProcessId() const { return info_.dwProcessId; }
    int TopLevelWindowCount(const char* className) const;

    const std::vector<SeenBox>& Boxes() const { return seen_; }
    // Answers boxes until every expected one has shown or ms have passed.
    void WaitForExpectedBoxes(DWORD ms);
    // Expected boxes that never showed.
    std::vector<SeenBox> MissingBoxes() const;

private:
    void AnswerBoxes();
    bool Launch(PROCESS_INFORMATION* process);
    std::string exePath() const { return dir_.File("Zentrik.exe"); }

    qeltest::TempDir dir_;
    PROCESS_INFORMATION info_ = {};
    HWND frame_ = nullptr;
    HWND dialog_ = nullptr;
    std::vector<SeenBox> expected_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> answered_; // boxes answered that may not have gone yet
    std::string unixEndMarker_;  // the Windows path of the file the shell writes the status to
};

// The skin's rectangle of section for the size mode, read from the program's skin file.
RECT SkinRect(const std::string& skinIni, const char* section, int mode);

// Registers the Windows Media runtime's version key ("9.0"), or removes it, for the object's life;
// the key as it was comes back at the end.
class ScopedWmfKey {
public:
    explicit ScopedWmfKey(bool present);
    ~ScopedWmfKey();
    ScopedWmfKey(const ScopedWmfKey&) = delete;
    ScopedWmfKey& operator=(const ScopedWmfKey&) = delete;

private:
    bool hadKey_ = false;
    std::string oldVersion_;
};

// Wine's sound driver switched off for programs started during the object's life (no audio input, no
// mixer lines), as on a machine without a sound card.
class ScopedNoSoundDriver {
public:
    ScopedNoSoundDriver();
    ~ScopedNoSoundDriver();
    ScopedNoSoundDriver(const ScopedNoSoundDriver&) = delete;
    ScopedNoSoundDriver& operator=(const ScopedNoSoundDriver&) = delete;

private:
    bool hadValue_ = false;
    std::string oldValue_;
};

} // namespace programtest
