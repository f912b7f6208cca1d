#pragma once
// qelLib1: the utility library. Skin settings reader and value syntaxes, module path, path, file and
// folder helpers, rectangle placement, font creation, system queries, the trace log, the XML reader and
// Simple MAPI mail.
// Plain functions return 1 for success and 0 for failure unless their header says otherwise.
#include "QelBorder.h"
#include "FolderHelpers.h"
#include "FontHelpers.h"
#include "Log.h"
#include "PathHelpers.h"
#include "RectHelpers.h"
#include "SimpleMapi.h"
#include "SkinSettings.h"
#include "SystemHelpers.h"
#include "XmlParsing.h"
