#pragma once
// The value rules of the user settings file: the minutes:seconds times, the capture size, the lists
// that [MergeSetting] keeps as indexes, the file-type tables, the record kind and the numbered capture
// names. The file itself is read and written elsewhere, key by key; these rules need no Windows header.
#include <functional>
#include <string>

namespace qelapp {

// Defaults of the keys these rules read.
constexpr int kDefaultCaptureSeconds = 30;
constexpr int kDefaultIntervalSeconds = 5;
constexpr int kDefaultOutputWidth = 320;
constexpr int kDefaultOutputHeight = 240;
constexpr int kDefaultFrameSizeIndex = 2; // "320x240"
constexpr int kDefaultColorDepthIndex = 1; // "24"
constexpr int kDefaultVideoFileType = 1;
constexpr int kDefaultImageFileType = 1;
constexpr int kMaxCount = 9999;
constexpr const char kDefaultNamePrefix[] = "DREM"; // [NameDefine] VideoName and ImageName

// "%d:%d" as minutes and seconds; false (seconds untouched) when the text misses the pattern or the
// total is negative.
bool ParseMinutesSeconds(const std::string& text, int* seconds);
// Capture Time: the text, or 30 s when it misses the pattern.
int ReadCaptureSeconds(const std::string& text);
// Interval Time: the text, or 5 s when it misses the pattern; below one second reads as one second
// (the interval timer would otherwise fire every few milliseconds).
int ReadIntervalSeconds(const std::string& text);
// "%3d:%02d" and "%02d:%02d" of minutes and seconds.
std::string FormatCaptureTime(int seconds);
std::string FormatIntervalTime(int seconds);
// The built-in default texts: "%d:%d" of the default minutes and seconds ("0:30", "0:5").
std::string DefaultCaptureTimeText();
std::string DefaultIntervalTimeText();

// "%dx%d"; false (outputs untouched) when the text misses the pattern or a side is below 1.
bool ParseSize(const std::string& text, int* width, int* height);
std::string FormatSize(int width, int height);

// [MergeSetting] FrameSize and Video: the index of the text in its list, or -1.
int FrameSizeIndexOf(const std::string& text);
int ColorDepthIndexOf(const std::string& text);
// The list text of an index; the default's text for an index outside the list.
std::string FrameSizeText(int index);
std::string ColorDepthText(int index);

// [Format] Video FileType and Image FileType: outside their tables they read as the defaults.
int ValidVideoFileType(int value);
int ValidImageFileType(int value);
// Record kind chosen by SaveFileType: 0, 1 and 2 stay, anything else is 3.
int RecordKindOf(int saveFileType);
// Extensions: ".AVI", ".ASF", ".WMV" (a record kind of 3 records with the engine's system-profile ASF
// writer, named ".WMV"); ".BMP", ".JPG", ".PNG", ".TIF", ".GIF". Outside: the default type's.
const char* VideoExtension(int videoFileType);
const char* ImageExtension(int imageFileType);

// A stored counter outside 1..9999 reads as 1.
int ValidCount(int count);
// The counter after one name: + 1, 10000 becoming 1.
int NextCount(int count);
// The part of a hand-written name prefix that names a file in the capture folder and nowhere else:
// a prefix with a folder part ("\", "/", a drive "X:") is cut to its last part; when that leaves
// nothing, "." or "..", kDefaultNamePrefix. The settings keep what the user wrote.
std::string UsableNamePrefix(const std::string& prefix);
// folder + "\" + the usable part of prefix + count as four digits + extension.
std::string CaptureFileName(const std::string& folder, const std::string& prefix, int count, const char* extension);
// The first name from *count on whose file does not exist, advancing *count past every name built.
// Empty when all 9999 names are taken (the counter is then back where it started).
std::string NextFreeCaptureName(const std::string& folder, const std::string& prefix, int* count,
                                const char* extension, const std::function<bool(const std::string&)>& exists);

} // namespace qelapp
