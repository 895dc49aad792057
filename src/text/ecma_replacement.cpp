#include "text/ecma_replacement.h"

namespace tessaly {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendSpan(std::string& out, std::string_view subject, std::size_t start, std::size_t end) {
  if (start == kUnsetOffset || end == kUnsetOffset || start > end || end > subject.size()) return;
  out.append(subject.substr(start, end - start));
}

}  // namespace

void AppendEcmaReplacement(std::string& out, std::string_view replacement, std::string_view subject,
                           std::span<const std::size_t> spans) {
  if (spans.size() < 2) return;
  const std::size_t groups = spans.size() / 2 - 1;
  const std::size_t matchStart = spans[0];
  const std::size_t matchEnd = spans[1];
  const auto appendGroup = [&](std::size_t group) {
    AppendSpan(out, subject, spans[2 * group], spans[2 * group + 1]);
  };

  std::size_t i = 0;
  while (i < replacement.size()) {
    const std::size_t dollar = replacement.find('$', i);
    if (dollar == std::string_view::npos || dollar + 1 == replacement.size()) {
      out.append(replacement.substr(i));
      break;
    }
    out.append(replacement.substr(i, dollar - i));
    const char next = replacement[dollar + 1];
    std::size_t consumed = 2;
    if (next == '$') {
      out += '$';
    } else if (next == '&') {
      appendGroup(0);
    } else if (next == '`') {
      AppendSpan(out, subject, 0, matchStart);
    } else if (next == '\'') {
      AppendSpan(out, subject, matchEnd, subject.size());
    } else if (IsDigit(next)) {
      const std::size_t one = static_cast<std::size_t>(next - '0');
      const bool hasSecond = dollar + 2 < replacement.size() && IsDigit(replacement[dollar + 2]);
      const std::size_t two =
          hasSecond ? one * 10 + static_cast<std::size_t>(replacement[dollar + 2] - '0') : 0;
      if (hasSecond && two >= 1 && two <= groups) {
        appendGroup(two);
        consumed = 3;
      } else if (one >= 1 && one <= groups) {
        appendGroup(one);
      } else {
        out += '$';
        consumed = 1;
      }
    } else {
      out += '$';
      consumed = 1;
    }
    i = dollar + consumed;
  }
}

}  // namespace tessaly
