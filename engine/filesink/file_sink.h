#pragma once
// A file sink for multiplexer output: one input pin that accepts any stream and writes its bytes to
// the file named through IFileSinkFilter. Samples are written at the byte offset their start time
// carries (the multiplexer's convention) or, without a time, after the last write; the pin also
// offers IStream, through which a multiplexer seeks back and rewrites its headers, also after the
// graph stopped. The file stays open from the first pause until the pin is disconnected, the name
// changes or the filter goes, so that those late header writes land. Until they do, the gap the
// multiplexer leaves for its header holds a provisional AVI header (avi_recovery.h), so that a
// recording cut short by a crash or a kill can be finished later. What the multiplexer writes over
// that gap before the recording ends (the stop or the end of the stream) is kept in the sink and
// read back from there (kept_header.h); at the end it goes to the disk as the multiplexer wrote it.
#include <dshow.h>

#include "qeldshow/base_filter.h"
#include "qeldshow/critical_section.h"

#include <string>

// {6B1C4E92-3A57-4D0E-9C41-7F2D8A0B5E13}
extern const CLSID CLSID_QelFileSink;

// Creates the sink (one reference, as IBaseFilter).
HRESULT CreateQelFileSink(IBaseFilter** sink);
