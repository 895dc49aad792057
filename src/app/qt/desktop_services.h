#pragma once

#include <functional>

#include <QString>
#include <QUrl>

namespace tessaly {

// What the application asks of the desktop beyond its own windows: the browser, the
// file manager and message boxes. The Qt default talks to the real desktop; tests put
// a recorder in its place so that nothing opens and no box waits for a user.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  virtual void OpenUrl(const QUrl& address) = 0;
  // A file or folder, native path; a folder opens in the file manager.
  virtual void OpenPath(const QString& nativePath) = 0;
  // Shows a box with one OK button and no icon and returns at once; `closed` runs on
  // the user-interface thread once the box is gone. `modal`: the application's
  // windows take no input while the box shows. Called on the user-interface thread.
  virtual void ShowMessage(const QString& text, const QString& caption, bool modal,
                           std::function<void()> closed) = 0;
};

// The services in use: the installed ones, else the Qt default.
DesktopServices& CurrentDesktopServices();
// The caller keeps ownership; nullptr goes back to the Qt default.
void SetDesktopServices(DesktopServices* services);

}  // namespace tessaly
