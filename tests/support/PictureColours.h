#pragma once

#include <QString>

// How many colours the picture in the file shows, counted up to atMost: a window drawn blank
// or not at all shows one or two, any window with a text many more. 0 for no picture.
int PictureColours(const QString& file, int atMost = 64);

// More than a handful of colours: the least a picture of a window must show.
inline constexpr int HandfulOfColours = 8;
