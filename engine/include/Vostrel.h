#pragma once
// The video engine's chief header: every exported class, record, enum and message of Vostrel.dll that a
// host uses. This folder holds all a host needs besides the MFC layer's headers and the import library;
// the engine's test seams are in testing/VostrelTestSeams.h, for the engine's own tests only.
#include "VostrelApi.h"
#include "LiveCapTypes.h"
#include "LiveCapture.h"
#include "PinHelpers.h"
#include "GraphBuilder.h"
#include "VideoMavix.h"
#include "BasicPlayer.h"
#include "SampleGrabberCB.h"
#include "AsfBuilder.h"
#include "MixInfo.h"
#include "TrimRecords.h"
#include "VideoTrim.h"
