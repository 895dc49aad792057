#include "app/qt/desktop_services.h"

#include <atomic>
#include <memory>

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLayout>
#include <QMessageBox>

#include "app/qt/window_look.h"

namespace tessaly {
namespace {

// A box takes its width from its text and its button row and gives the caption only a
// small allowance, so the title bar of a short message under a short caption (the save
// confirmation) showed nothing but "…". The button row, which spans the whole box, is made as wide
// as the caption needs; the box then sizes itself around it.
void MakeRoomForCaption(QMessageBox& box) {
  auto* buttons = box.findChild<QDialogButtonBox*>();
  const QLayout* layout = box.layout();
  if (buttons == nullptr || layout == nullptr) return;
  const QMargins margins = layout->contentsMargins() + box.contentsMargins();
  buttons->setMinimumWidth(WidthForCaption(box, box.windowTitle()) - margins.left() -
                           margins.right());
}

class QtDesktopServices final : public DesktopServices {
 public:
  void OpenUrl(const QUrl& address) override { QDesktopServices::openUrl(address); }

  void OpenPath(const QString& nativePath) override {
    QDesktopServices::openUrl(QUrl::fromLocalFile(nativePath));
  }

  void ShowMessage(const QString& text, const QString& caption, bool modal,
                   std::function<void()> closed) override {
    auto owned = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    // No owner window: from here on the box deletes itself once it is closed.
    QMessageBox* box = owned.release();
    MakeRoomForCaption(*box);
    box->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    QObject::connect(
        box, &QDialog::finished, box,
        [box, closed = std::move(closed)] {
          box->deleteLater();
          if (closed) closed();
        },
        Qt::SingleShotConnection);
    box->show();
  }
};

QtDesktopServices& DefaultServices() {
  static QtDesktopServices services;
  return services;
}

std::atomic<DesktopServices*> installed_services{nullptr};

}  // namespace

DesktopServices& CurrentDesktopServices() {
  DesktopServices* services = installed_services.load();
  return services ? *services : DefaultServices();
}

void SetDesktopServices(DesktopServices* services) { installed_services.store(services); }

}  // namespace tessaly
