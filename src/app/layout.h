#pragma once
// Places docked controls inside their parent, scaled to the window's dots per inch.
#include <vector>

#include "app/form_design.h"

namespace qm {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A length given at 96 dots per inch, at `dpi` (rounded to the nearest pixel).
int ScaleToDpi(int length96, int dpi);

// The places of a parent's children inside its client rectangle, in the order given.
// Docking goes Top, Bottom, Left, Right, then Client, each group in table order;
// Bottom and Right controls are stacked so that table order reads top-to-bottom and
// left-to-right. A docked control never gets a negative size.
std::vector<Rect> ArrangeChildren(const Rect& client, const std::vector<const Layout*>& children, int dpi);

// The places of all controls of a window whose client area is `clientWidth` by
// `clientHeight` pixels, one per component (in table order); each is relative to the
// client area of the component's parent, which is the whole parent since containers
// have no border. Components that are not controls get an empty rectangle.
std::vector<Rect> ArrangeForm(const std::vector<Component>& components, int clientWidth, int clientHeight, int dpi);

}  // namespace qm
