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
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  return Key(RegKey(key));
}

std::optional<std::string> RegistryReader::Expand(const std::string& text) {
  // The ANSI variant reports the size it needs in characters of its wide-character expansion,
  // not in bytes: a double-byte character needs two. The documented limit of both buffers is
  // 32K characters; what needs more counts as a failed expansion on every Windows.
  constexpr DWORD kLimit = 32 * 1024;
  const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0 || needed > kLimit) return std::nullopt;
  std::vector<char> expanded(needed * 2);
  const DWORD written =
      ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
  if (written == 0 || written > expanded.size()) return std::nullopt;
  return FixedFieldText(expanded.data(), expanded.size());
}
