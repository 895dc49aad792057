#pragma once

#include <functional>
#include <memory>

class QDialog;

namespace tessaly {

// Opens a window or box on the user-interface thread and waits until it is closed.
// `open` runs on the user-interface thread; it gets `modal`, true when the caller is
// that thread (the application's windows then take no input while it shows, as with
// any modal dialog), false when the caller is another thread, which alone waits; and
// `closed`, to be called once the window is gone. The wait also ends when every copy
// of `closed` is dropped uncalled, so a window destroyed without closing cannot
// strand the caller. Without an application it returns at once.
void OpenAndWait(const std::function<void(bool modal, std::function<void()> closed)>& open);

// Opens a window without owner made by `make` (on the user-interface thread, so each
// opening creates it afresh) and waits as OpenAndWait does; the window is destroyed
// once closed.
void OpenDialogAndWait(const std::function<std::unique_ptr<QDialog>()>& make);

}  // namespace tessaly
