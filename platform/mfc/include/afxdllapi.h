#pragma once
// Export/import decoration of the MFC-compatible layer (QelMfc.dll).
#ifdef QEL_MFC_BUILD
#define QEL_MFC_API __declspec(dllexport)
#else
#define QEL_MFC_API __declspec(dllimport)
#endif
