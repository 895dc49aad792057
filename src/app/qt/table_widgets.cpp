#include "app/qt/table_widgets.h"

#include <limits>

#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include "app/qt/app_icons.h"
#include "app/qt/clickable_label.h"
#include "app/qt/qt_text.h"
#include "app/qt/window_look.h"

namespace tessaly {
namespace {

template <typename Signal, typename Sender>
void ConnectAction(Sender* sender, Signal signal, const ui::ControlDef& control,
                   const ActionHandler& act) {
  if (control.action == ui::Action::kNone || !act) return;
  QObject::connect(sender, signal, sender, [act, action = control.action] { act(action); });
}

// A label, or the help picture, that does something when pressed reports the press;
// the others leave it to the window below, as any label does.
QLabel* MakeLabel(const ui::ControlDef& control, QWidget& client, const ActionHandler& act) {
  const bool pressable =
      control.kind == ui::ControlKind::kLinkLabel || control.action != ui::Action::kNone;
  if (!pressable) return new QLabel(&client);
  auto* label = new ClickableLabel(&client);
  ConnectAction(label, &ClickableLabel::leftPressed, control, act);
  return label;
}

// Each line of the caption in the box's width.
bool CaptionFits(const QLabel& label) {
  const QFontMetrics metrics(label.font());
  const int room = label.contentsRect().width();
  for (const QString& line : label.text().split(u'\n')) {
    if (metrics.horizontalAdvance(line) > room) return false;
  }
  return true;
}

QWidget* MakeControl(const ui::ControlDef& control, QWidget& client, const ActionHandler& act) {
  const QString caption = FromTable(control.caption);
  switch (control.kind) {
    case ui::ControlKind::kPictureBox: {
      QLabel* picture = MakeLabel(control, client, act);
      picture->setPixmap(QuestionMarkPicture());
      return picture;
    }
    case ui::ControlKind::kButton: {
      auto* button = new QPushButton(caption, &client);
      // No button of the table is a default one, so Enter in an edit box never presses
      // a button, as a Qt dialog's auto-default buttons otherwise would.
      button->setAutoDefault(false);
      ConnectAction(button, &QPushButton::clicked, control, act);
      return button;
    }
    case ui::ControlKind::kCheckBox: {
      auto* box = new QCheckBox(caption, &client);
      box->setChecked(control.Has(ui::kTickedAtStart));
      ConnectAction(box, &QCheckBox::clicked, control, act);
      return box;
    }
    case ui::ControlKind::kEditBox: {
      auto* edit = new QLineEdit(&client);
      if (!caption.isEmpty()) edit->setText(caption);
      // Qt's own limit is that of the platform's edit box, 32 K characters.
      if (control.Has(ui::kUnlimitedText)) edit->setMaxLength(std::numeric_limits<int>::max());
      return edit;
    }
    case ui::ControlKind::kMultiLineEditBox: {
      // Takes Enter as a new line and any length of text by itself: kEnterNewLine and
      // kUnlimitedText need nothing more here.
      auto* edit = new QPlainTextEdit(&client);
      if (!caption.isEmpty()) edit->setPlainText(caption);
      if (control.Has(ui::kWordWrap)) {
        // Long runs without blanks (cookie values) break anywhere, as the platform's
        // edit box breaks them, so nothing ever scrolls sideways.
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      } else {
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
      }
      edit->setHorizontalScrollBarPolicy(
          control.Has(ui::kHorizontalScrollBar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      edit->setVerticalScrollBarPolicy(
          control.Has(ui::kVerticalScrollBar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      return edit;
    }
    case ui::ControlKind::kLabel:
    case ui::ControlKind::kLinkLabel:
      break;
  }
  QLabel* label = MakeLabel(control, client, act);
  label->setText(caption);
  return label;
}

}  // namespace

TableControls::TableControls(std::span<const ui::ControlDef> definitions, QWidget& client,
                             const ActionHandler& act)
    : definitions_(definitions) {
  widgets_.reserve(definitions.size());
  for (const ui::ControlDef& control : definitions) {
    QWidget* widget = MakeControl(control, client, act);
    widget->setObjectName(FromTable(control.name));
    const ui::Rect& place = control.place;
    widget->setGeometry(place.left, place.top, place.width, place.height);
    if (control.font != ui::FontStyle::kDefault) widget->setFont(YaHeiFont(control.font));
    if (control.Has(ui::kRedText)) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::WindowText, Qt::red);
      widget->setPalette(palette);
    }
    if (control.Has(ui::kHandCursor)) widget->setCursor(Qt::PointingHandCursor);
    // A caption too long for its box breaks between words. Decided once, for the
    // caption at start: the status label, empty at start, keeps each status on one
    // line whatever the run writes there.
    if (auto* label = qobject_cast<QLabel*>(widget); label && !CaptionFits(*label)) {
      label->setWordWrap(true);
    }
    widgets_.push_back(widget);
  }
}

QWidget* TableControls::WidgetOf(const ui::ControlDef& control) const {
  for (std::size_t i = 0; i < definitions_.size(); ++i) {
    if (&definitions_[i] == &control) return widgets_[i];
  }
  return nullptr;
}

void CreateMenus(std::span<const ui::MenuDef> menus, QMenuBar& bar, const ActionHandler& act) {
  for (const ui::MenuDef& definition : menus) {
    QMenu* menu = bar.addMenu(FromTable(definition.caption));
    for (const ui::MenuItemDef& item : definition.items) {
      QAction* action = menu->addAction(FromTable(item.caption));
      action->setVisible(item.visible);
      if (item.action != ui::Action::kNone && act) {
        QObject::connect(action, &QAction::triggered, action,
                         [act, chosen = item.action] { act(chosen); });
      }
    }
    menu->menuAction()->setVisible(definition.visible);
  }
}

}  // namespace tessaly
