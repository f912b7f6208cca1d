// CRadioEx2: the radio button whose caption area can be tiled with an image.
#include "CheckEx.h"

#include <qelImage.h>

CRadioEx2::CRadioEx2() : m_textBg(NULL) {}

CRadioEx2::~CRadioEx2() {
    // The caption background goes with the strip: both belong to the button or both to the caller.
    if (m_ownStrip && m_textBg != m_strip)
        delete m_textBg;
    m_textBg = NULL;
}

void CRadioEx2::SetTextBg(CImageArray* image) {
    m_textBg = image;
}

void CRadioEx2::DrawItem(LPDRAWITEMSTRUCT item) { DrawCheckItem(item, m_textBg); }
