#include "report/fixed_field.h"

#include <cstring>

std::string FixedFieldText(const char* field, std::size_t width) {
  const void* zero = std::memchr(field, 0, width);
  return std::string(field, zero ? static_cast<const char*>(zero) - field : width);
}
