#pragma once
// The pictures of the three page buttons, drawn by the program at the window's DPI:
// 48 x 48 at 96 dpi, larger and still sharp when the screen is scaled.
#include "win32/gdi.h"

namespace qm {

// Image list positions of the page buttons' pictures.
inline constexpr int kPictureCleaning = 3;
inline constexpr int kPictureBackups = 4;
inline constexpr int kPictureExclusions = 5;

// An image list with 32-bit pictures; positions 0 to 2 are empty.
UniqueImageList CreatePagePictures(int dpi);

}  // namespace qm
