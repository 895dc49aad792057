#include "app/qt/author_window.h"

#include "app/qt/qt_text.h"
#include "app/qt/table_widgets.h"
#include "app/qt/window_look.h"

namespace tessaly {

AuthorWindow::AuthorWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromTable(ui::kAuthorWindow.title));
  // Nothing on it acts or changes, so the window keeps no control of its own.
  [[maybe_unused]] const TableControls controls(ui::kAuthorWindow.controls, *this, {});
  MakeFixedCentredWindow(*this, ui::kAuthorWindow);
}

}  // namespace tessaly
