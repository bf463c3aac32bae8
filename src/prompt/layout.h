#pragma once

// Where the text box sits vertically: centred at the default size of 14.5 points; a larger font
// moves it up and a smaller one down, as if a box of height h * size / 14.5 were centred. The
// result may be negative.
inline float TextBoxTop(double windowHeight, double boxHeight, double fontSize) {
    return static_cast<float>(windowHeight / 2 - (fontSize / 14.5) * (boxHeight / 2));
}

// The text box stays 20 twips narrower than the window, and never narrower than nothing.
inline float TextBoxWidth(float windowWidth) {
    return windowWidth > 20 ? windowWidth - 20 : 0.0f;
}
