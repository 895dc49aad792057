#pragma once

#include "text/desktop.h"
#include "text/text.h"

namespace tessaly {

// The four check boxes of the main window, by their captions.
enum class CheckBox {
  kMainImages = 1,         // 选择框1 "主图"
  kSkuImages = 2,          // 选择框2 "SKU图"
  kDescriptionImages = 3,  // 选择框3 "描述图"
  kProductInfo = 4,        // 选择框4 "宝贝信息（标题、货号、链接、ID、价格）"
};

// What a collection run does to the window system. The Qt application marshals
// each call from the worker thread to the user-interface thread and waits, so a
// read sees the control's current value and a write shows at once; the headless
// collector and the tests implement it without a display.
class WindowOperations : public Desktop {
 public:
  virtual Text LinkText() = 0;      // 编辑框1 of the main window
  virtual Text CategoryText() = 0;  // 编辑框2 of the main window
  virtual bool IsTicked(CheckBox box) = 0;
  virtual void SetStatus(const Text& caption) = 0;  // 标签1, the StatusLabel
  virtual void SetStartEnabled(bool enabled) = 0;   // 按钮1 "开始采集"
  // Opens the cookie settings window modally, without owner; returns when the user
  // has closed it.
  virtual void OpenSettingsWindow() = 0;
  // Told after every image file the run has written (progress displays).
  virtual void ImageSaved(const Text& /*path*/) {}
};

}  // namespace tessaly
