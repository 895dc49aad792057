// The decoding of a response body: any bytes, any declared character set (the
// name is handed to the converter as the page wrote it).
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "http/response_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tessaly::Bytes body(data, data + size);
  const tessaly::Text text = tessaly::DecodeResponseText(body);
  // A text never holds a zero byte, whatever the body did.
  FUZZ_CHECK(text.find('\0') == tessaly::Text::npos);
  return 0;
}
