#pragma once
// Finding GDI+'s image encoder for a MIME type ("image/jpeg", "image/png", ...). GDI+ must be started.
#include <windows.h>

// The index of the first encoder whose MIME type equals mimeType exactly (case-sensitive) with its
// CLSID in *clsid, or -1 when there is none.
int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid);
