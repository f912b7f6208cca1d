#pragma once
// Export/import decoration of qelLib1. Plain functions are exported with C linkage (unmangled names).
#ifdef QELLIB1_BUILD
#define QELLIB1_API __declspec(dllexport)
#else
#define QELLIB1_API __declspec(dllimport)
#endif

#define QELLIB1_C_API extern "C" QELLIB1_API
