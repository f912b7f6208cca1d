#pragma once
// The video engine's chief header: every exported class, record, enum and message of Vostrel.dll.
#include "VostrelApi.h"
#include "LiveCapTypes.h"
#include "LiveCapture.h"
#include "PinHelpers.h"
#include "GraphBuilder.h"
#include "VideoMavix.h"
#include "SampleGrabberCB.h"
#include "AsfBuilder.h"
#include "MixInfo.h"
#include "TrimRecords.h"
#include "VideoTrim.h"
#include "TrimObjects.h"
