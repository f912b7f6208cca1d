#pragma once
// Every picture the skin names is read here, bounded: its kind and size from its header first, refused
// beyond what the image library decodes or beyond what its use allows, and only then decoded (a PNG
// through the library's own loader with its memory caps). A huge or malformed picture thus costs the
// few bytes of its header, never the memory or the seconds of decoding it.
#include <afxwin.h>
#include <qelImage.h>

// Loads path into picture: Ok, or why it was refused or could not be read (the picture unchanged).
// bound: the largest width and height the use allows; a side of 0 leaves that side to the library's
// limits alone.
Gdiplus::Status LoadSkinPicture(CImage* picture, const char* path, SIZE bound = SIZE{0, 0});

// The size the picture at path claims; FALSE when it gives none the library would decode.
BOOL ReadSkinPictureSize(const char* path, SIZE* size);
