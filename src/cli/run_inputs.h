#pragma once

#include <string>

#include "text/text.h"

// What the collector needs before a run can start: the links, the run directory and
// the cookie file. Each answers false with a message for the user instead of
// letting the run start on something it cannot use.
namespace tessaly::cli {

// The links, as GBK text for the run: from `file`, or from standard input when
// `file` is empty or "-".
bool ReadLinks(const std::string& file, Text& links, std::string& error);

// Makes `requested` (the current folder when empty) the run directory, creating it
// and its parents when missing; `created` tells whether it had to.
bool UseRunDirectory(const std::string& requested, std::string& absolute, bool& created,
                     std::string& error);

// Makes the run read its cookie value from `file`, which must be readable now.
bool UseCookieFile(const std::string& file, std::string& error);

// True when the UTF-8 text survives the run's GBK texts unchanged; otherwise the
// run would write under another name than the one the user typed.
bool FitsGbk(const std::string& utf8);

}  // namespace tessaly::cli
