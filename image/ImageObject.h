#pragma once
// CImage: the picture object of the user interface, a GDI+ bitmap with loaders and savers chosen by
// file name, drawing into graphics, device contexts and other images, and pixel operations.
// Loaders return a GDI+ Status (Ok is 0); other operations return 1 for success and 0 for failure;
// operations that make a new image return a heap CImage (null on failure) that the caller deletes.
// The library never starts GDI+: the host starts it before the first image and stops it after the last.
#include <windows.h>

#include <objidl.h> // PROPID, IStream: the lean Windows header leaves them out
#include <gdiplus.h>

#include <atltypes.h>

#include "qelImageApi.h"

// GDI+ pixel format for a bit count: 1, 4, 8 indexed, 24 RGB, 32 ARGB, 48 RGB; 0 for anything else.
extern "C" QEL_IMAGE_API int BitCountToPixelFormat(int bitCount);

class QEL_IMAGE_API CImage : public Gdiplus::Bitmap {
public:
    // A GDI+ clone of the source's bitmap; a null source gives an image without a bitmap.
    CImage(CImage* source = NULL);
    // The file through GDI+'s own decoders.
    CImage(const char* path);
    // A new bitmap; a colour other than 0 is written to every pixel exactly (no blending).
    CImage(int width, int height, int format, DWORD color);
    // A bitmap over the caller's pixels, which are not copied and must outlive the image.
    CImage(int width, int height, int stride, int format, BYTE* scan0);
    // A bitmap resource; a null module means the program's own.
    CImage(UINT resourceId, HINSTANCE module);
    CImage(HBITMAP bitmap, HPALETTE palette);
    CImage(const BITMAPINFO* info, void* bits);
    CImage(HICON icon);
    // An encoded picture in a movable global block; the image owns the block from then on.
    CImage(void* globalBlock);
    virtual ~CImage();

    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Replacing the picture: 1, or 0 with the previous picture kept and the last status set.
    int SetBitmap(const char* path);
    int Load(const char* path);
    int Open(const char* path);
    int SetBitmap(UINT resourceId, HINSTANCE module);
    int SetBitmap(HBITMAP bitmap, HPALETTE palette);
    int SetBitmap(BITMAPINFO* info, void* bits);
    int SetBitmap(HICON icon);

    // Loading with status: ".png" (last three letters, any case) through the PNG loader, the rest
    // through a stream. The previous picture stays on every failure.
    Gdiplus::Status LoadFile(const char* path);
    Gdiplus::Status LoadPng(const char* path);

    // Saving by the path's ending: jpg/jpeg, gif, tif/tiff, png, anything else BMP. 1 when saved.
    int Save(const char* path, Gdiplus::EncoderParameters* parameters);
    int SaveJpg(const char* path, int quality);  // quality 0..100; negative: the encoder's default
    int SaveFile(const char* path, int quality); // SaveJpg for jpg/jpeg, else Save without parameters
    int SaveAdd(const char* path);               // multi-frame files are not written: 0

    UINT Width();
    UINT Height();
    int Format();
    int BitCount();
    int BytesPerLine(); // the DIB row length

    // Resolution, horizontal then vertical.
    int GetResolution(float& x, float& y);
    int GetDPI(float& x, float& y);
    int GetDPM(float& x, float& y);
    int SetResolution(float x, float y);
    int SetDPI(float x, float y);
    int SetDPM(float x, float y);
    int SetResolution(CImage* other);

    // Drawing (targets: GDI+ graphics, device context, another image). Failures draw nothing.
    void DrawImage(Gdiplus::Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    void DrawImage(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    void DrawImage(CImage& target, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    void Draw(CImage& target, int x, int y, int w, int h);
    void Draw(CImage& target, RECT rect);
    void TileImage(Gdiplus::Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    void TileImage(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    // Modes: 0 natural size clipped, 1 centred, 2 tiled, 3 stretched, 4 fitted, 5 nine cells by thirds.
    void Display(Gdiplus::Graphics& graphics, int x, int y, int w, int h, int mode);
    void Display(HDC dc, int x, int y, int w, int h, int mode);
    void Display(Gdiplus::Graphics& graphics, RECT* rect, int mode);
    void Display(HDC dc, RECT* rect, int mode);
    void DrawString(HDC dc, const WCHAR* text, int length, const Gdiplus::Font* font, const Gdiplus::PointF& origin,
                    const Gdiplus::StringFormat* format, const Gdiplus::Brush* brush);
    void DrawString(Gdiplus::Graphics& graphics, const WCHAR* text, int length, const Gdiplus::Font* font,
                    const Gdiplus::PointF& origin, const Gdiplus::StringFormat* format, const Gdiplus::Brush* brush);
    void DrawString(CImage& target, const WCHAR* text, int length, const Gdiplus::Font* font,
                    const Gdiplus::PointF& origin, const Gdiplus::StringFormat* format, const Gdiplus::Brush* brush);

    // Fitting rectangles to proportions.
    void ShrinkPropRect(CRect source, CRect& target, int centre, int enlarge);
    void CropPropRect(CRect& target, CRect source, int centre, int fit);
    void GetPropRect(CRect& a, CRect& b, int crop, int centre, int enlargeOrFit);
    void GetPropRect(CRect& rect, int crop);
    void GetPropRect(Gdiplus::Rect& rect, int crop);

    // New images, owned by the caller.
    CImage* Copy();
    CImage* Copy(int x, int y, int w, int h);
    CImage* Copy(Gdiplus::Rect& rect);
    CImage* GetThumbnail(int w, int h, Gdiplus::InterpolationMode mode, int format);
    CImage* GetPropThumbnail(int w, int h, int enlarge, Gdiplus::InterpolationMode mode);
    CImage* GetResizeImage(int w, int h, DWORD background, Gdiplus::InterpolationMode mode);
    CImage* GetRotateImage(float angle, int format);
    CImage* GetRescaleRotateImage(int w, int h, float angle, int format);
    CImage* ReduceColor(int format);

    // In place.
    int FillColor(Gdiplus::Color& color);
    // Blocks with inclusive corners in packed rows of 3 (24bpp RGB) or 4 (32bpp ARGB) bytes a pixel.
    int GetBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format);
    int PutBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format);
    int GetHorLine(UINT y, UINT x0, UINT x1, BYTE* data, int format);
    int PutHorLine(UINT y, UINT x0, UINT x1, BYTE* data, int format);
    int GetVerLine(UINT x, UINT y0, UINT y1, BYTE* data, int format);
    int PutVerLine(UINT x, UINT y0, UINT y1, BYTE* data, int format);
    int CloneRect(int x, int y, int w, int h);
    int CloneRect(Gdiplus::Rect& rect);
    int Flip(int horizontal, int vertical);
    int Rotate90xFlip(float angle, int flipX, int flipY, int unused);
    CRect GetRotateRect(float angle, float scaleX, float scaleY);
    Gdiplus::Status SetPalette(const Gdiplus::ColorPalette* palette);
    int SetPalette(RGBQUAD* table);
    BYTE ColorTable2Palette(RGBQUAD* table);
    // Pixels outside the region become 0 (24bpp RGB, 8bpp indexed, 32bpp ARGB): 0, or 13 for other formats.
    int SetMaskregion(HRGN region, BYTE unused);

protected:
    Gdiplus::Status Stream(const char* path);
    int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid);
    int CreateRGBLut();
    BYTE FindNearestMatch0(int r, int g, int b);
    BYTE FindNearestMatch(int r, int g, int b);

private:
    // Makes native the picture, releasing the previous one; a null native leaves the image empty.
    void Adopt(Gdiplus::GpBitmap* native);
    void SetStatus(Gdiplus::Status status);
    // Records status; when Ok, made becomes the picture. 1 or 0.
    int ReplaceWith(Gdiplus::Status status, Gdiplus::GpBitmap* made);
    // A new w x h image of format filled with background (when not 0) and this image drawn scaled into it
    // with mode; null on failure.
    CImage* ScaledInto(int w, int h, int format, DWORD background, Gdiplus::InterpolationMode mode);
    // A new image of this size and format with this image's resolution; null on failure.
    CImage* NewLike(int width, int height, int format);
    void DrawIn(Gdiplus::Graphics& graphics, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
    void DisplayIn(Gdiplus::Graphics& graphics, int x, int y, int w, int h, int mode);
    int TransferBlock(UINT x0, UINT y0, UINT x1, UINT y1, BYTE* data, int format, bool write);

    HGLOBAL m_pngBlock;        // pixels of a bitmap made by LoadPng
    Gdiplus::ColorPalette* m_palette; // palette copy for colour reduction
    BYTE* m_lut;               // 32 x 32 x 32 nearest-colour table
};
