#pragma once
// The editor's failing steps go to the engine's error log under the source tag "VideoTrim", one fixed
// line number per call site.
#define TRIM_LOG(result) MyShowErrMSG((result), "VideoTrim", __LINE__)
