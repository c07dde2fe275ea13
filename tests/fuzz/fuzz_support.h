#pragma once
// What the fuzz targets share: a property check that ends the run the way a crash does, so that
// libFuzzer keeps the input that broke it, and the taking apart of the raw input into the values
// each target hands to the code under test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

[[noreturn]] inline void PropertyFailed(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
  std::abort();
}

// Not assert(): the fuzz tree builds with NDEBUG, and a property must be checked in every build.
#define FUZZ_REQUIRE(condition) ((condition) ? void(0) : PropertyFailed(#condition, __FILE__, __LINE__))

// Reads the input from the front. Past its end every byte reads as zero and every text as empty,
// so any input, however short, makes a complete set of values.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t TakeByte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  std::uint32_t TakeU32() {  // little-endian
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{TakeByte()} << shift;
    return value;
  }

  std::string Take(std::size_t count) {
    const std::string_view taken = rest_.substr(0, std::min(count, rest_.size()));
    rest_.remove_prefix(taken.size());
    return std::string(taken);
  }

  // `count` texts, one a line (LF-separated); the last takes all that remains, LFs included, so
  // that a line break can still reach the code under test through it.
  std::vector<std::string> TakeLines(std::size_t count) {
    std::vector<std::string> lines;
    while (lines.size() + 1 < count) {
      const std::size_t end = rest_.find('\n');
      lines.push_back(Take(end == std::string_view::npos ? rest_.size() : end));
      if (!rest_.empty()) rest_.remove_prefix(1);  // the LF itself
    }
    lines.push_back(Take(rest_.size()));
    return lines;
  }

  std::string Rest() { return Take(rest_.size()); }

 private:
  std::string_view rest_;
};

// Non-overlapping occurrences of a non-empty `part`.
inline std::size_t CountOf(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}
