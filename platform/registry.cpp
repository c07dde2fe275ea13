#include "platform/registry.h"

#include <vector>

#include "report/fixed_field.h"

bool RegistryReader::Key::Query(const std::string& valueName, std::uint32_t& type, char* data,
                                std::uint32_t& size) {
  DWORD valueType = 0;
  DWORD length = size;
  const LONG result = RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, &valueType,
                                       reinterpret_cast<BYTE*>(data), &length);
  type = valueType;
  size = length;
  return result == ERROR_SUCCESS;
}

std::optional<RegistryReader::Key> RegistryReader::Open(const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  return Key(RegKey(key));
}

std::optional<std::string> RegistryReader::Expand(const std::string& text) {
  const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<char> expanded(needed);
  const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
  if (written == 0 || written > needed) return std::nullopt;
  return FixedFieldText(expanded.data(), written);
}
