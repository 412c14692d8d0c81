#pragma once
// The live texts of one window: a copy of its design whose captions, hints, column
// captions, tabs and header sections change at run time (by the program and by the
// translation engine). Code that shows a message reads the current caption of the
// message item from here. Every change is reported to the observer, which on Windows
// pushes the text into the control.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_design.h"

namespace qm {

class FormModel {
 public:
  // Receives the changed component, or nullptr when the window's caption changed.
  using Observer = std::function<void(const Component*)>;

  explicit FormModel(FormDesign design);

  const std::wstring& Name() const { return design_.name; }
  const FormDesign& Design() const { return design_; }
  const std::vector<Component>& Components() const { return design_.components; }

  // The window's own caption.
  const std::wstring& Caption() const { return design_.caption; }
  void SetCaption(std::wstring caption);

  // nullptr when the window has no component of that name (exact, case-sensitive).
  const Component* Find(std::wstring_view name) const;
  // Raises std::out_of_range for an unknown name: a name in code that is not in the table.
  const Component& Get(std::wstring_view name) const;
  // The current caption of a component, e.g. of a message item such as LangStop.
  const std::wstring& Text(std::wstring_view name) const { return Get(name).caption; }
  // The direct children of a component (or of the window for an empty name), in order.
  std::vector<const Component*> Children(std::wstring_view parent) const;

  // A text property; nullopt when the component's kind does not carry it.
  std::optional<std::wstring> Property(std::wstring_view component, TextProperty property) const;
  // Sets a text property; false (and nothing changes) when the kind does not carry it.
  bool SetProperty(std::wstring_view component, TextProperty property, std::wstring value);
  void SetCaption(std::wstring_view component, std::wstring caption);
  void SetColumnCaption(std::wstring_view component, std::size_t column, std::wstring caption);
  void SetTab(std::wstring_view component, std::size_t tab, std::wstring text);
  void SetSection(std::wstring_view component, std::size_t section, std::wstring text);

  // Called after every change of a text.
  void SetObserver(Observer observer) { observer_ = std::move(observer); }

 private:
  Component& Mutable(std::wstring_view name);
  void Changed(const Component* component);

  FormDesign design_;
  Observer observer_;
};

}  // namespace qm
