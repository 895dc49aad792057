#pragma once

#include "text/text.h"

// The fixed addresses of the system, built from the compiled-in host names.
namespace tessaly {

Text VersionTextAddress();                         // http://<web host>/e/yz/didud_uvadadu.txt
Text ReleasePageAddress();                         // https://<web host>/archives/311
Text HomePageAddress(bool secure);                 // http(s)://<home host>
Text ProductPageAddress(const Text& matchedText);  // https://<product host>/offer/<matched>
Text WallMarkerImageAddress();

}  // namespace tessaly
