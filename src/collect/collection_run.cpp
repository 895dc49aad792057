#include "collect/collection_run.h"

#include "collect/run_state.h"
#include "collect/steps.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/start_thread.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

Text ProgressText(int count, int index) {
  static const Text kFound = "共检测到 "_gbk;
  static const Text kDownloading = " 个宝贝，正在下载第 "_gbk;
  static const Text kUnit = " 个"_gbk;
  return ConcatText(kFound, ToText(count), kDownloading, ToText(index), kUnit);
}

}  // namespace

RunEnd CollectionRun(WindowOperations& window) {
  RunState state(window);
  window.SetStatus("程序启动......"_gbk);

  // The category box is read once, before the gate; the link box once, after it.
  const Text category = window.CategoryText();
  state.CategoryFolder = category.empty() ? ConcatText("阿里巴巴"_gbk, kPathSeparator)
                                          : ConcatText(category, kPathSeparator);

  if (!VersionGate(state)) return RunEnd::kVersionGate;

  state.IdMatcher.Search("\\d{12}[.]html", window.LinkText());
  state.ProductCount = state.IdMatcher.MatchCount();
  if (state.ProductCount < 1) {
    window.SetStatus("未检测到宝贝ID"_gbk);
    window.SetStartEnabled(true);
    return RunEnd::kNoProductId;
  }

  const int count = state.ProductCount;
  state.ProductIndex = 1;
  for (int pass = 0; pass < count; ++pass) {
    window.SetStatus(ProgressText(state.ProductCount, state.ProductIndex));
    state.MatchedText = state.IdMatcher.MatchText(state.ProductIndex);
    state.ProductId = ReplaceText(state.MatchedText, ".html", "", 1, kAllOccurrences, true);
    if (!ProductStep(state)) return RunEnd::kAntiScraping;
    MainImageStep(state);
    DescriptionImageStep(state);
    SkuImageStep(state);
    ++state.ProductIndex;
  }

  window.SetStatus("下载完毕,点击查看！"_gbk);
  window.SetStartEnabled(true);
  return RunEnd::kFinished;
}

void StartButtonClick(WindowOperations& window) {
  // Disabled before the thread exists, so the run cannot enable it first.
  window.SetStartEnabled(false);
  if (!StartThread([&window] { CollectionRun(window); })) window.SetStartEnabled(true);
}

}  // namespace tessaly
