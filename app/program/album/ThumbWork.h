#pragma once
// The work of one thumbnail or still request, done on a thread of the maker's own: it may block for
// as long as the platform's file reading does, which is why nothing else waits for it without a limit.
#include <string>

struct ThumbResult;

// A thumbnail-sized copy of the picture; without one when it does not load.
ThumbResult* MakePictureThumb(const std::string& path);
// The clip's facts and a thumbnail of its chosen frame; opened stays false when the reader could not be
// had or refused the file.
ThumbResult* MakeClipThumb(const std::string& path);
// The clip's first frame whole, with the reader left open for the viewer's later frames.
ThumbResult* MakeClipStill(const std::string& path);

// Defined by the maker: GDI+ is used only between these, and none starts once the maker stops.
bool EnterThumbGdiplus();
void LeaveThumbGdiplus();
// Defined by the maker: the test's call at the start of a job's work.
#ifdef QEL_TEST_SEAMS
void RunThumbWorkHook(const std::string& path);
#endif
