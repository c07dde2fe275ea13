#pragma once
// The connection name of an adapter ("本地连接" and the like), which Windows keeps in the registry
// under the network class key. Every failure gives the empty name: the report then shows an
// empty first line for that adapter and goes on.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/fixed_field.h"

inline constexpr char kNetworkClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
inline constexpr std::uint32_t kRegSz = 1;        // REG_SZ
inline constexpr std::uint32_t kRegExpandSz = 2;  // REG_EXPAND_SZ

// Registry provides
//   std::optional<Key> Open(const std::string& keyPath);   // HKEY_LOCAL_MACHINE, read only
//   std::optional<std::string> Expand(const std::string& text);  // environment references
// and Key provides
//   bool Query(const std::string& valueName, std::uint32_t& type, char* data, std::uint32_t& size);
// which with a null data pointer asks only for type and size.
template <class Registry>
std::string LookupConnectionName(const std::string& adapterName, Registry& registry) {
  const std::string fullPath = kNetworkClassKey + adapterName + "\\Connection\\Name";
  const std::size_t lastSlash = fullPath.rfind('\\');
  const std::string keyPath = fullPath.substr(0, lastSlash);
  const std::string valueName = fullPath.substr(lastSlash + 1);

  auto key = registry.Open(keyPath);
  if (!key) return {};
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (!key->Query(valueName, type, nullptr, size)) return {};
  if ((type != kRegSz && type != kRegExpandSz) || size == 0) return {};

  std::vector<char> data(size);
  std::uint32_t readType = 0;
  std::uint32_t readSize = size;
  const bool read = key->Query(valueName, readType, data.data(), readSize);
  key.reset();
  // A value whose type or size changed between the two queries is not trusted.
  if (!read || readType != type || readSize != size) return {};
  // Up to the first zero within the bytes actually returned: a value stored without its
  // terminating zero is never read past its end.
  std::string name = FixedFieldText(data.data(), readSize);
  if (type == kRegSz) return name;
  return registry.Expand(name).value_or(std::string());
}
