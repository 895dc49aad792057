// TextBetween and AllTextsBetween with any markers and options over any text, and
// with the markers the collection steps use over the same text.
//
// Input: [flags] [start] [maxLength] left \0 right \0 prefix \0 suffix \0 text…
//   flags bit 0: TextBetween ignores case; bit 1: AllTextsBetween compares exactly;
//   bit 2: keepLeft; bit 3: keepRight.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "text/gbk.h"
#include "text/text_between.h"

namespace {

using tessaly::Text;

struct Markers {
  Text left;
  Text right;
};

const Markers* StepMarkers(std::size_t& count) {
  static const Markers markers[] = {
      {"og:title\" content=\"", "\""},
      {"og:title#\xD2\xFD\xBA\xC5 content=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5"},
      {"og:product:price\" content=\"", "\""},
      {tessaly::Utf8ToGbk("货号:"), tessaly::Utf8ToGbk("，")},
      {"tab-trigger", "<a hidefocus"},
      {"data-tfs-url=\"", "\""},
      {"skuProps", "]},"},
      {"name\":\"", "\""},
      {"Set-Cookie:", ";"},
  };
  count = sizeof markers / sizeof markers[0];
  return markers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tessaly::fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const int start = input.SmallNumber();
  const int maxLength = input.SmallNumber();
  const Text left = input.Field();
  const Text right = input.Field();
  const Text prefix = input.Field();
  const Text suffix = input.Field();
  const Text text = input.Rest();

  const Text between = tessaly::TextBetween(text, left, right, start, (flags & 1) != 0);
  FUZZ_CHECK(text.find(between) != Text::npos);

  tessaly::TextArray items{"left over from an earlier call"};
  const int found =
      tessaly::AllTextsBetween(text, left, right, items, (flags & 2) != 0, maxLength, prefix,
                               suffix, (flags & 4) != 0, (flags & 8) != 0, start);
  FUZZ_CHECK(found == items.Count());
  for (const Text& item : items) {
    FUZZ_CHECK(!item.empty());
    FUZZ_CHECK(maxLength == 0 || static_cast<int>(item.size()) < maxLength);
  }

  std::size_t count = 0;
  const Markers* markers = StepMarkers(count);
  for (std::size_t i = 0; i < count; ++i) {
    const Text value = tessaly::TextBetween(text, markers[i].left, markers[i].right);
    FUZZ_CHECK(text.find(value) != Text::npos);
    tessaly::TextArray values;
    FUZZ_CHECK(tessaly::AllTextsBetween(text, markers[i].left, markers[i].right, values) ==
               values.Count());
  }
  // The quote marker stands for a double quote: both spellings give the same title.
  FUZZ_CHECK(tessaly::TextBetween(text, markers[0].left, markers[0].right) ==
             tessaly::TextBetween(text, markers[1].left, markers[1].right));
  return 0;
}
