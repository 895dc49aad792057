#pragma once

#include <string>
#include <vector>

#include "http/curl_handles.h"

// Two environment variables let tests and demonstrations keep the real addresses
// (https://detail.1688.com/…) while the connections go to loopback servers:
//   TESSALY_CONNECT_TO  comma-separated "HOST:PORT:CONNECT-TO-HOST:CONNECT-TO-PORT"
//                       entries (libcurl's connect-to form, HOST may be empty);
//   TESSALY_CA_FILE     a PEM bundle trusted instead of the system's.
// Both are read again at every request, so a test can point one process at
// several servers in turn.
namespace tessaly {

struct ConnectionSeams {
  std::vector<std::string> connectTo;
  std::string caFile;
};

ConnectionSeams ReadConnectionSeams();

// Applies the seams to a transfer; `connectTo` must outlive the transfer.
bool ApplyConnectionSeams(CURL* easy, const ConnectionSeams& seams, CurlList& connectTo);

}  // namespace tessaly
