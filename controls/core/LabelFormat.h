#pragma once
// How a skinned label lays out its text: the DrawText flags from its own text type and its window
// style, and the character height a requested font size becomes. Platform-neutral.
namespace qel_controls {

// Window style bits a label reads (the static control's values).
constexpr unsigned kStyleCenter = 0x1;
constexpr unsigned kStyleRight = 0x2;
constexpr unsigned kStyleLeftNoWordWrap = 0xC;
constexpr unsigned kStyleNoPrefix = 0x80;
// DrawText flags it sets.
constexpr unsigned kTextCenter = 0x1;
constexpr unsigned kTextRight = 0x2;
constexpr unsigned kTextWordBreak = 0x10;
constexpr unsigned kTextNoPrefix = 0x800;

// The label's extra text flags, word-wrapped unless the style asks for no wrap, aligned by the style.
unsigned LabelTextFormat(unsigned textType, unsigned long style);
// A positive size asks for a character height (kept negated); 0 and below pass unchanged.
int LabelFontHeight(int size);

} // namespace qel_controls
