#pragma once

#include <string>

#include "app/win32/table_window.h"
#include "text/text.h"

namespace tessaly::win32 {

// The cookie settings window: the editor, loaded from the cookie file when the window is
// made, saved on 保存, and the links to the tutorial and to the cookie page.
class SettingsWindow : public TableWindow {
 public:
  SettingsWindow();

  // Makes a fresh window on the calling thread and waits there until it is closed.
  static void OpenAndWait();

 protected:
  void OnCreated() override;
  void OnAction(ui::Action action) override;

 private:
  void Save();
  Text EditorValue() const;

  HWND editor_ = nullptr;
  Text loaded_;               // the file's bytes as loaded
  std::wstring loaded_view_;  // what the editor showed of them
};

}  // namespace tessaly::win32
