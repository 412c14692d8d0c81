#include "app/form_model.h"

#include <stdexcept>

namespace qm {

FormModel::FormModel(FormDesign design) : design_(std::move(design)) {}

void FormModel::SetCaption(std::wstring caption) {
  design_.caption = std::move(caption);
  Changed(nullptr);
}

const Component* FormModel::Find(std::wstring_view name) const {
  for (const Component& component : design_.components) {
    if (component.name == name) return &component;
  }
  return nullptr;
}

const Component& FormModel::Get(std::wstring_view name) const {
  if (const Component* component = Find(name)) return *component;
  throw std::out_of_range("no such component");
}

Component& FormModel::Mutable(std::wstring_view name) {
  for (Component& component : design_.components) {
    if (component.name == name) return component;
  }
  throw std::out_of_range("no such component");
}

std::vector<const Component*> FormModel::Children(std::wstring_view parent) const {
  std::vector<const Component*> children;
  for (const Component& component : design_.components) {
    if (component.parent == parent) children.push_back(&component);
  }
  return children;
}

namespace {
// The member holding a text property; const or not as the component is.
template <typename C>
auto PropertySlot(C& component, TextProperty property) -> decltype(&component.caption) {
  if (!HasTextProperty(component.kind, property)) return nullptr;
  switch (property) {
    case TextProperty::Caption: return &component.caption;
    case TextProperty::Hint: return &component.hint;
    default: return nullptr;  // no kind of ours carries the others
  }
}
}  // namespace

std::optional<std::wstring> FormModel::Property(std::wstring_view component, TextProperty property) const {
  if (const std::wstring* slot = PropertySlot(Get(component), property)) return *slot;
  return std::nullopt;
}

bool FormModel::SetProperty(std::wstring_view component, TextProperty property, std::wstring value) {
  Component& target = Mutable(component);
  std::wstring* slot = PropertySlot(target, property);
  if (!slot) return false;
  *slot = std::move(value);
  Changed(&target);
  return true;
}

void FormModel::SetCaption(std::wstring_view component, std::wstring caption) {
  Component& target = Mutable(component);
  target.caption = std::move(caption);
  Changed(&target);
}

void FormModel::SetColumnCaption(std::wstring_view component, std::size_t column, std::wstring caption) {
  Component& target = Mutable(component);
  target.columns.at(column).caption = std::move(caption);
  Changed(&target);
}

void FormModel::SetTab(std::wstring_view component, std::size_t tab, std::wstring text) {
  Component& target = Mutable(component);
  target.tabs.at(tab) = std::move(text);
  Changed(&target);
}

void FormModel::SetSection(std::wstring_view component, std::size_t section, std::wstring text) {
  Component& target = Mutable(component);
  target.sections.at(section) = std::move(text);
  Changed(&target);
}

void FormModel::Changed(const Component* component) {
  if (observer_) observer_(component);
}

}  // namespace qm
