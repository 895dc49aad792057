#pragma once

#include "collect/window_operations.h"

namespace tessaly {

// How a run ended; the window shows it through the status texts, the headless
// collector turns it into its exit code.
enum class RunEnd {
  kFinished,      // "下载完毕,点击查看！"
  kNoProductId,   // "未检测到宝贝ID"
  kVersionGate,   // stopped by the version gate
  kAntiScraping,  // "遇到防采集，请更新cookies"
};

// One pass over every product ID of the link box, on the calling thread.
RunEnd CollectionRun(WindowOperations& window);

// The start button's handler: disables the button, then starts CollectionRun on a
// worker thread and returns at once. `window` must outlive the run.
void StartButtonClick(WindowOperations& window);

}  // namespace tessaly
