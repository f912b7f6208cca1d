// The TrueType font families of the display, with their sizes, for the date/time page.
#pragma once

#include "core/font_catalogue.h"

class CFontList {
public:
    // Enumerates the display's font families; false when no information context can be had.
    bool Build();
    const FontCatalogue& Catalogue() const { return catalogue_; }

private:
    FontCatalogue catalogue_;
};
