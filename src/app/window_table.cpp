#include "app/window_table.h"

namespace tessaly::ui {

int ControlIndex(WindowId window, std::string_view name) {
  const std::span<const ControlDef> controls = Window(window).controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

const ControlDef* FindControl(WindowId window, std::string_view name) {
  const int index = ControlIndex(window, name);
  return index < 0 ? nullptr : &Window(window).controls[static_cast<std::size_t>(index)];
}

const MenuItemDef* FindMenuItem(WindowId window, Action action) {
  for (const MenuDef& menu : Window(window).menus) {
    for (const MenuItemDef& item : menu.items) {
      if (item.action == action) return &item;
    }
  }
  return nullptr;
}

}  // namespace tessaly::ui
