#include "collect/addresses.h"
#include "collect/steps.h"
#include "http/http_request.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly {

namespace {
// The version of this build; the main window shows it as "版本：1.0".
const Text kLocalVersion = "1";
}  // namespace

bool VersionGate(RunState& state) {
  WindowOperations& window = state.Window;
  state.RemoteVersionText = HttpRequest(VersionTextAddress());
  state.LocalVersionText = kLocalVersion;

  if (state.RemoteVersionText.empty()) {
    window.ShowMessage("网络似乎有问题！"_gbk, 0, {});
    return false;
  }
  // Strictly greater: an equal number, or an answer that is no number at all
  // (an error page), lets the run go on.
  if (ToInteger(state.RemoteVersionText) > ToInteger(state.LocalVersionText)) {
    const Text release = ReleasePageAddress();
    window.ShowMessage(ConcatText("有新版本了，建议更新\r\n"_gbk, release), 0, {});
    window.OpenUrl(release);
    return false;
  }
  return true;
}

}  // namespace tessaly
