#pragma once

#include "text/text.h"

namespace tessaly {

// The result text of a page: its bytes taken as GBK text up to the first zero byte,
// unless a meta tag in the first 1024 bytes declares another character set (any
// name but exactly "gbk" or "gb2312"); then the whole body is decoded from that
// set. An unknown name leaves the bytes as GBK text; characters that GBK lacks
// become "?".
Text DecodeResponseText(const Bytes& body);

}  // namespace tessaly
