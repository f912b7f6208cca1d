// Effect setters. The plug-in chain that splices the effects into the graphs is not part of this
// library yet: until it is, the setters leave the graph and the kept effect state as they are, and a
// rebuilt preview shows the camera's picture unchanged.
#include "LiveCaptureInternal.h"

void CLiveCapture::SetFlipEnable(int, int) {}
void CLiveCapture::SetRotateEnable(int, UINT, UINT, DWORD) {}
void CLiveCapture::SetDigitalZoomEnable(int, int) {}
void CLiveCapture::SetEnhanceEnable(int, int) {}
void CLiveCapture::SetToneEnable(int, int) {}
void CLiveCapture::SetLowLightEnable(int, int) {}
void CLiveCapture::SetWhiteBoardEnable(int, int) {}
void CLiveCapture::SetCBEnable(int, int, int) {}
void CLiveCapture::SetPhotoFrameEnable(int, const WCHAR*) {}
void CLiveCapture::SetDateTimeEnable(int, int) {}
void CLiveCapture::SetBlackWhiteEnable(int, int) {}
void CLiveCapture::SetSepiaEnable(int, int) {}
void CLiveCapture::SetNegativeEnable(int, int) {}
void CLiveCapture::SetEmbossEnable(int, int) {}
void CLiveCapture::SetSphereEnable(int, int) {}
void CLiveCapture::SetSnowEnable(int, int) {}
void CLiveCapture::SetMosaicEnable(int, int) {}
void CLiveCapture::SetSwirlEnable(int, int) {}
void CLiveCapture::SetSpotLightEnable(int, int) {}
