#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// A text is a run of bytes in the local code page (GBK, code page 936) without an
// embedded zero byte. Lengths and positions count bytes; positions start at 1.
// A character is one byte below 0x80, or two bytes of which the first is 0x80 or above.
using Text = std::string;

// A byte array: any bytes, zeros allowed (file contents, downloads, bodies).
using Bytes = std::vector<std::uint8_t>;

// An ordered sequence of texts indexed from 1. There is deliberately no operator[]:
// every access names its 1-based index through Item(), and an index outside
// 1..Count() reads as the empty text instead of outside the array.
class TextArray {
 public:
  TextArray() = default;
  TextArray(std::initializer_list<Text> items) : items_(items) {}

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  bool Has(int index) const { return index >= 1 && index <= Count(); }
  const Text& Item(int index) const {
    static const Text kEmpty;
    return Has(index) ? items_[static_cast<std::size_t>(index - 1)] : kEmpty;
  }
  void Append(Text item) { items_.push_back(std::move(item)); }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  bool operator==(const TextArray&) const = default;

 private:
  std::vector<Text> items_;
};

}  // namespace tessaly
