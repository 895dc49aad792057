#include "app/desktop_services.h"

#include <atomic>
#include <memory>

#include <QDesktopServices>
#include <QMessageBox>

namespace tessaly {
namespace {

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
