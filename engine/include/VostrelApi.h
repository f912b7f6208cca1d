#pragma once
// Export/import decoration of the video engine's classes and functions.
#ifdef VOSTREL_BUILD
#define VOSTREL_API __declspec(dllexport)
#else
#define VOSTREL_API __declspec(dllimport)
#endif
