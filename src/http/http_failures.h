#pragma once

#include <curl/curl.h>

#include "text/text.h"

namespace tessaly {

// The numbered messages that HttpRequest writes into its status (700 to 713, 706
// unused); the empty text for any other number.
Text HttpFailureMessage(int number);

// The message number for a transfer that libcurl ended with `code`:
//   701 the address was refused before any connection;
//   711 no connection (name resolution, connect, TLS, time-out) or the request
//       could not be sent, or not in full (a send that stalled);
//   712 connected and sent, but no complete response header block came back;
//   713 the headers came, the body broke off (read error, stall, cap).
// `connected`: the connection stood and the request was on its way;
// `sentWhole`: all of the request body was handed over;
// `haveHeaders`: the final response's header block arrived whole.
int TransferFailureNumber(CURLcode code, bool connected, bool sentWhole, bool haveHeaders);

}  // namespace tessaly
