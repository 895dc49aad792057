#include "collect/addresses.h"

#include "config/hosts.h"
#include "text/text_primitives.h"

namespace tessaly {

Text VersionTextAddress() {
  return ConcatText("http://", hosts::kWebHost, "/e/yz/didud_uvadadu.txt");
}

Text ReleasePageAddress() { return ConcatText("https://", hosts::kWebHost, "/archives/311"); }

Text HomePageAddress(bool secure) {
  return ConcatText(secure ? "https://" : "http://", hosts::kHomeHost);
}

Text ProductPageAddress(const Text& matchedText) {
  return ConcatText("https://", hosts::kProductHost, "/offer/", matchedText);
}

Text WallMarkerImageAddress() {
  return ConcatText("https://", hosts::kImageHost, "/tfs/TB1Kbbnehv1gK0jSZFFXXb0sXXa-566-527.png");
}

}  // namespace tessaly
