#pragma once
// Core of the MFC-compatible layer: the string class and the geometry types.
#include <windows.h>

#include "afxdllapi.h"
#include "afxstr.h"
#include "atltypes.h"
