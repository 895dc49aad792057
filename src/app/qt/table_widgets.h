#pragma once

#include <functional>
#include <span>
#include <vector>

#include <QObject>
#include <QWidget>

#include "app/window_table.h"

class QMenuBar;

namespace tessaly {

// What a window does for a control's press or click and for a menu item; it never
// gets ui::Action::kNone.
using ActionHandler = std::function<void(ui::Action)>;

// The controls of a window's definition, made on `client` in the table's order (which
// is the tab order), each named, placed, captioned and styled as the table has it;
// `client` owns them. A press or click of a control with an action calls `act`.
class TableControls {
 public:
  TableControls(std::span<const ui::ControlDef> definitions, QWidget& client,
                const ActionHandler& act);

  // The widget made for `control` (one of this window's, which ui::Control finds
  // while compiling), or nullptr when it is not of that type.
  template <typename Widget>
  Widget* Of(const ui::ControlDef& control) const {
    return qobject_cast<Widget*>(WidgetOf(control));
  }

 private:
  QWidget* WidgetOf(const ui::ControlDef& control) const;

  std::span<const ui::ControlDef> definitions_;
  std::vector<QWidget*> widgets_;
};

// The table's menu bar, in order. A popup or item that the table defines as not
// visible is made all the same, with its action, and hidden: it belongs to the window.
void CreateMenus(std::span<const ui::MenuDef> menus, QMenuBar& bar, const ActionHandler& act);

}  // namespace tessaly
