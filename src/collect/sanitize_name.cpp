#include "collect/sanitize_name.h"

#include "text/text_primitives.h"

namespace tessaly {

Text SanitizeName(const Text& name) {
  Text result = name;
  for (const char* forbidden : {"/", "\\", "*", "|", "?"}) {
    result = ReplaceText(result, forbidden, "_", 1, kAllOccurrences, true);
  }
  return result;
}

}  // namespace tessaly
