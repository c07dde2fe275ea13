// FixedFieldText over any field contents. The input is the field itself and its size the width,
// so AddressSanitizer sees any read past the width.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/fixed_field.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* field = reinterpret_cast<const char*>(data);
  const std::string text = FixedFieldText(field, size);

  FUZZ_REQUIRE(text.size() <= size);
  FUZZ_REQUIRE(text.find('\0') == std::string::npos);
  FUZZ_REQUIRE(std::string_view(field, text.size()) == text);
  // It stopped early only at a zero byte: nothing of the field before the first zero is lost.
  FUZZ_REQUIRE(text.size() == size || field[text.size()] == '\0');
  return 0;
}
