#pragma once
// Reading a control's image file into a strip, for the controls' file loaders: a file that cannot be
// read gives no strip, so a loader can refuse it and leave its control as it was.
class CImageArray;

namespace qel_controls {

// A strip of count frames from file, or null when file is null, cannot be read, or memory runs out.
CImageArray* LoadReadableStrip(const char* file, int count);

} // namespace qel_controls
