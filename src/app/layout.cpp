#include "app/layout.h"

#include <algorithm>

namespace qm {

int ScaleToDpi(int length96, int dpi) {
  const long long scaled = static_cast<long long>(length96) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

namespace {

struct Scaled {
  int left, top, right, bottom, width, height;
};

Scaled ScaleLayout(const Layout& layout, int dpi) {
  auto s = [dpi](int length) { return ScaleToDpi(length, dpi); };
  return {s(layout.margins.left), s(layout.margins.top), s(layout.margins.right), s(layout.margins.bottom),
          s(layout.width), s(layout.height)};
}

Rect Normalized(Rect rect) {
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  return rect;
}

// Docks one control against an edge of the free area and takes its room from it.
Rect Dock(Rect& free, Align align, const Scaled& m) {
  Rect placed{free.left + m.left, free.top + m.top, free.right - m.right, free.bottom - m.bottom};
  switch (align) {
    case Align::Top:
      placed.bottom = placed.top + m.height;
      free.top = std::min(free.bottom, placed.bottom + m.bottom);
      break;
    case Align::Bottom:
      placed.top = placed.bottom - m.height;
      free.bottom = std::max(free.top, placed.top - m.top);
      break;
    case Align::Left:
      placed.right = placed.left + m.width;
      free.left = std::min(free.right, placed.right + m.right);
      break;
    case Align::Right:
      placed.left = placed.right - m.width;
      free.right = std::max(free.left, placed.left - m.left);
      break;
    default:
      break;
  }
  return Normalized(placed);
}

}  // namespace

std::vector<Rect> ArrangeChildren(const Rect& client, const std::vector<const Layout*>& children, int dpi) {
  std::vector<Rect> placed(children.size());
  Rect free = client;
  auto dockAll = [&](Align align, bool reversed) {
    for (std::size_t n = 0; n < children.size(); ++n) {
      const std::size_t i = reversed ? children.size() - 1 - n : n;
      if (children[i]->align == align) placed[i] = Dock(free, align, ScaleLayout(*children[i], dpi));
    }
  };
  dockAll(Align::Top, false);
  dockAll(Align::Bottom, true);
  dockAll(Align::Left, false);
  dockAll(Align::Right, true);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Layout& layout = *children[i];
    if (layout.align == Align::Client) {
      Rect rest = free;
      placed[i] = Dock(rest, Align::Client, ScaleLayout(layout, dpi));
    } else if (layout.align == Align::None) {
      const Scaled s = ScaleLayout(layout, dpi);
      const int left = client.left + ScaleToDpi(layout.left, dpi);
      const int top = client.top + ScaleToDpi(layout.top, dpi);
      placed[i] = {left, top, left + s.width, top + s.height};
    }
  }
  return placed;
}

std::vector<Rect> ArrangeForm(const std::vector<Component>& components, int clientWidth, int clientHeight, int dpi) {
  std::vector<Rect> placed(components.size());
  // Parents come before their children in the table, so one pass per parent in
  // table order sees every parent's size before arranging its children.
  auto arrange = [&](const std::wstring& parent, const Rect& client) {
    std::vector<std::size_t> indexes;
    std::vector<const Layout*> layouts;
    for (std::size_t i = 0; i < components.size(); ++i) {
      if (components[i].parent == parent && IsControlKind(components[i].kind)) {
        indexes.push_back(i);
        layouts.push_back(&components[i].layout);
      }
    }
    const std::vector<Rect> rects = ArrangeChildren(client, layouts, dpi);
    for (std::size_t n = 0; n < indexes.size(); ++n) placed[indexes[n]] = rects[n];
  };
  arrange(L"", {0, 0, clientWidth, clientHeight});
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (IsControlKind(components[i].kind)) arrange(components[i].name, {0, 0, placed[i].Width(), placed[i].Height()});
  }
  return placed;
}

}  // namespace qm
