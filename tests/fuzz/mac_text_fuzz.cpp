// FormatMacText for any reported length and address bytes.
// Input: the address length (4 bytes, little-endian), then the 8 address bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "report/report_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The value of an upper-case hex digit, or -1: a lower-case digit is as wrong as any other byte.
int UpperHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint32_t length = input.TakeU32();
  std::array<std::uint8_t, 8> address{};
  for (std::uint8_t& byte : address) byte = input.TakeByte();

  const std::string text = FormatMacText(length, address);

  const std::size_t shown = std::min<std::size_t>(length, address.size());
  FUZZ_REQUIRE(text.size() == (shown == 0 ? 0 : 3 * shown - 1));
  FUZZ_REQUIRE(text.find_first_not_of("0123456789ABCDEF-") == std::string::npos);
  // Read back: pair i at 3i, a "-" after every pair but the last, and the pairs give the bytes.
  for (std::size_t i = 0; i < shown; ++i) {
    const int high = UpperHexDigit(text[3 * i]);
    const int low = UpperHexDigit(text[3 * i + 1]);
    FUZZ_REQUIRE(high >= 0 && low >= 0);
    FUZZ_REQUIRE(high * 16 + low == address[i]);
    if (i + 1 < shown) FUZZ_REQUIRE(text[3 * i + 2] == '-');
  }
  return 0;
}
