#pragma once

namespace tessaly {

// Every text of the program is Chinese, so Qt's own texts (the buttons of message boxes,
// the edit boxes' context menus) are shown in Simplified Chinese too, whatever the
// user's locale. Call once the application object exists and before any window is
// created. False when Qt's translations are not installed: Qt's English texts then stay.
bool InstallChineseTranslations();

}  // namespace tessaly
