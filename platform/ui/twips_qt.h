// Window measures in twips (1/1440 inch), as the forms were designed: 15
// twips a pixel at 96 dots per inch, scaled by the screen's logical dpi.
#pragma once

namespace vt::ui {

double TwipsPerPixel();
int Px(double twips);      // twips to whole pixels, rounded
double Twips(double px);   // pixels to twips

// Tests fix the scale so measures are the same on every machine; 0 restores
// the screen's own.
void SetTwipsPerPixel(double twipsPerPixel);

}  // namespace vt::ui
