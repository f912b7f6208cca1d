#pragma once
// Which plug-ins this build made and how to make each one's effect show on test frames: shared by
// the test programs that run one test per built plug-in.
#include "QelPluginIds.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <unknwn.h>

#include <ostream>
#include <string>
#include <vector>

// Test names and failure messages name the module, not the bytes of the row.
void PrintTo(const QelPluginIdentity& plugin, std::ostream* out);

namespace plugintest {

// The plug-ins whose modules this build made.
std::vector<QelPluginIdentity> BuiltPlugins();

// The module name as a test name (letters and digits only).
std::string PluginName(const ::testing::TestParamInfo<QelPluginIdentity>& info);

// How to make a plug-in's effect visible on the test frames.
struct VisibleEffect {
    const wchar_t* module;
    HRESULT (*apply)(IUnknown* filter);
};

// The setting for this module, or null when none is known.
const VisibleEffect* FindVisibleEffect(const wchar_t* module);

} // namespace plugintest
