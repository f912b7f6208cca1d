#pragma once
// Saving one live frame as a picture file: BMP directly; JPEG, PNG, TIFF and GIF by writing a
// temporary BMP beside the target and re-encoding it through GDI+ (which must be started).
#include <windows.h>

// The format comes from fileName's extension (see SnapshotName.h); quality goes to the encoder as
// EncoderQuality. TRUE when the target was written; FALSE with the reason as the thread's last error
// (a Win32 code), and no part-written target left. After a successful encoding the temporary file is
// deleted; when the encoding fails it stays beside the target.
BOOL SaveSnapshotFile(const BITMAPINFOHEADER& header, const char* fileName, const BYTE* bits, UINT length,
                      int quality);
