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

// A picture that did not arrive whole, and what was done about its file.
struct PictureFailure {
  enum class What {
    kNoAnswer,   // nothing arrived: no connection, no response, or an empty body
    kHttpError,  // an HTTP error status (httpStatus); its page is never stored
    kCutOff,     // the body broke off part-way
  };
  enum class Outcome {
    kKeptEarlier,  // the file already there stays as it was
    kPlaceholder,  // a file of length 0 marks the missing picture
    kPartSaved,    // the part that arrived was written
    kNotWritten,   // the file could not be written at all
  };
  Text address;
  Text path;
  What what = What::kNoAnswer;
  int httpStatus = 0;  // the final response's status; 0 when none arrived
  Outcome outcome = Outcome::kPlaceholder;
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
  // Told after every picture the run has written whole (progress displays).
  virtual void ImageSaved(const Text& /*path*/) {}
  // Told for every picture that failed, was cut off or answered with an error.
  virtual void PictureFailed(const PictureFailure& /*failure*/) {}
  // Told when a page the run asked for (a product page, a description document)
  // did not arrive: `statusText` is the request's status, a numbered failure or the
  // HTTP status code with its reason; `cutOff` when the body broke off part-way.
  virtual void PageFailed(const Text& /*address*/, const Text& /*statusText*/, bool /*cutOff*/) {}
};

}  // namespace tessaly
