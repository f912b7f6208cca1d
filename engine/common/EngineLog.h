#pragma once
// The engine's error log "C:\CLiveCap.log", shared by the capture engine and the trim editor: each
// object decides by its own log flag whether to append.
#include <windows.h>

// Appends one record (error text, source, line, then the result in decimal and hex).
void AppendEngineLogRecord(HRESULT result, const char* sourceFile, int line);
