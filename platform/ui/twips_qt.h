// Window measures in twips (1/1440 inch), as the forms were designed: 15
// twips a pixel at 96 dots per inch, scaled by the screen's logical dpi and by
// the width of the font in use. The forms were laid out for a font whose
// characters were 90 twips wide; a wider font widens every measure alike, so
// that columns hold their contents (and windows their columns) as they did.
#pragma once

namespace vt::ui {

double TwipsPerPixel();
int Px(double twips);      // twips to whole pixels, rounded
double Twips(double px);   // pixels to twips

// Tests fix the scale so measures are the same on every machine, whatever its
// screen and fonts; 0 restores the screen's own, with the font's width.
void SetTwipsPerPixel(double twipsPerPixel);

}  // namespace vt::ui
