#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Splits one fuzz input into the values a target needs, in a layout that seed files
// can be written by hand (printf '\x01\x05title\0<html>…'): single leading bytes for
// flags and small numbers, then short fields that each end at a zero byte, then the
// rest as the subject, zero bytes and all. Missing bytes read as zero and missing
// fields as empty, so every input means something.
namespace tessaly::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  // -128 to 127: positions and counts below 1 are part of every routine's contract.
  int SmallNumber() { return static_cast<int>(static_cast<std::int8_t>(Byte())); }

  std::string Field() {
    const std::size_t zero = rest_.find('\0');
    const std::string field(rest_.substr(0, zero));
    rest_.remove_prefix(zero == std::string_view::npos ? rest_.size() : zero + 1);
    return field;
  }

  std::string Rest() {
    const std::string rest(rest_);
    rest_ = {};
    return rest;
  }

 private:
  std::string_view rest_;
};

// A broken invariant is a finding: say which and abort, so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

}  // namespace tessaly::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::tessaly::fuzz::Broken(#condition, __FILE__, __LINE__))
