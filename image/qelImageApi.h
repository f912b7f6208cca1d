#pragma once
// Export and import decoration of the image library (qelImage.dll).
#ifdef QEL_IMAGE_BUILD
#define QEL_IMAGE_API __declspec(dllexport)
#else
#define QEL_IMAGE_API __declspec(dllimport)
#endif
