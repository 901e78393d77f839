// The small picture of a palette slot: one routine for the paint window's
// slot buttons, the paint files and the legend's pattern copy.
#pragma once
#include "gui/Graphics.h"
#include <cstdint>

class TTkBtn;

// Pattern codes above 7 are kept as they are but drawn solid.
inline TBrushStyle PatternBrush(uint8_t pattern) { return pattern <= 7 ? TBrushStyle(pattern) : bsSolid; }

// Gives the button a 26 x 26 swatch of the slot; the button's own colour stays as it is.
void ShowSlotPicture(TTkBtn* button, TColor colour, uint8_t pattern);
// Fills a whole swatch image: black pen, white first, then colour and pattern.
void PaintSwatch(TCanvas* cv, TColor colour, uint8_t pattern);
