#pragma once
// Export and import decoration of the control library (qelControl.dll): classes are exported whole.
#ifdef QEL_CONTROL_BUILD
#define QEL_CONTROL_API __declspec(dllexport)
#else
#define QEL_CONTROL_API __declspec(dllimport)
#endif
