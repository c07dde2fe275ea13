#pragma once
#include <cstddef>
#include <string>

// Text of a fixed-width character field: its bytes up to the first zero byte, or the whole
// width when the platform filled the field to its end without one.
std::string FixedFieldText(const char* field, std::size_t width);

template <std::size_t N>
std::string FixedFieldText(const char (&field)[N]) {
  return FixedFieldText(field, N);
}
