#pragma once
// Read-only access to values under HKEY_LOCAL_MACHINE, and environment expansion of their text.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/handle.h"

class RegistryReader {
 public:
  class Key {
   public:
    explicit Key(RegKey key) : key_(std::move(key)) {}
    // RegQueryValueExA; a null data pointer asks only for type and size.
    bool Query(const std::string& valueName, std::uint32_t& type, char* data, std::uint32_t& size);

   private:
    RegKey key_;
  };

  std::optional<Key> Open(const std::string& keyPath);
  // ExpandEnvironmentStringsA, sized first; nothing when it fails or the result is too long for it.
  std::optional<std::string> Expand(const std::string& text);
};
