#pragma once
// Stand-ins for the IP Helper list call and the registry, for the cases Windows will not stage.
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "report/adapter_list.h"

inline RawAdapterInfo MakeRaw(const std::string& name, const std::string& ip,
                              const std::string& gateway = "") {
  RawAdapterInfo raw{};
  std::memcpy(raw.AdapterName, name.data(), std::min(name.size(), sizeof raw.AdapterName));
  std::memcpy(raw.Description, "NIC ", 4);
  raw.AddressLength = 6;
  raw.Address[5] = static_cast<std::uint8_t>(name.size());
  std::memcpy(raw.IpAddress, ip.data(), std::min(ip.size(), sizeof raw.IpAddress));
  std::memcpy(raw.IpMask, "255.255.255.0", 13);
  std::memcpy(raw.GatewayAddress, gateway.data(), std::min(gateway.size(), sizeof raw.GatewayAddress));
  return raw;
}

// Behaves like GetAdaptersInfo over a list that may change between calls: each call takes the
// next list from `lists` (the last one stays). The filled buffer holds the records themselves,
// so Walk sees only what Fill wrote.
struct FakeAdapters {
  std::vector<std::vector<RawAdapterInfo>> lists;
  std::optional<std::uint32_t> fillFailure;  // result of every call that has a buffer
  int calls = 0;

  std::uint32_t Fill(std::vector<std::byte>* buffer, std::uint32_t& size) {
    const auto& list = lists[std::min<std::size_t>(calls++, lists.size() - 1)];
    const std::uint32_t needed = static_cast<std::uint32_t>(list.size() * sizeof(RawAdapterInfo));
    if (list.empty()) return 232;  // ERROR_NO_DATA, size untouched
    if (buffer && fillFailure) return *fillFailure;
    if (!buffer || size < needed) {
      size = needed;
      return kAdapterListTooSmall;
    }
    std::memcpy(buffer->data(), list.data(), needed);
    return 0;
  }
  std::vector<RawAdapterInfo> Walk(const std::vector<std::byte>& filled) {
    std::vector<RawAdapterInfo> out(filled.size() / sizeof(RawAdapterInfo));
    std::memcpy(out.data(), filled.data(), out.size() * sizeof(RawAdapterInfo));
    return out;
  }
};

// A registry of values under HKEY_LOCAL_MACHINE, keyed by key path; values may change between
// the size query and the read, as another program can make them do.
struct FakeValue {
  std::uint32_t type;
  std::vector<char> data;
  std::optional<std::vector<char>> dataOnRead;  // what a second query finds instead
};

struct FakeRegistry {
  std::map<std::string, FakeValue> values;  // key path -> its "Name" value
  std::map<std::string, std::string> environment;
  bool expandFails = false;
  std::vector<std::string> opened;

  struct Key {
    FakeValue* value;
    int queries = 0;
    bool Query(const std::string& valueName, std::uint32_t& type, char* data, std::uint32_t& size) {
      if (!value || valueName != "Name") return false;
      const std::vector<char>& bytes =
          (queries++ > 0 && value->dataOnRead) ? *value->dataOnRead : value->data;
      type = value->type;
      if (data && size < bytes.size()) {
        size = static_cast<std::uint32_t>(bytes.size());
        return false;  // ERROR_MORE_DATA
      }
      if (data && !bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
      size = static_cast<std::uint32_t>(bytes.size());
      return true;
    }
  };

  std::optional<Key> Open(const std::string& keyPath) {
    opened.push_back(keyPath);
    auto it = values.find(keyPath);
    if (it == values.end()) return std::nullopt;
    return Key{&it->second};
  }
  std::optional<std::string> Expand(const std::string& text) {
    if (expandFails) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
      if (end != std::string::npos && environment.count(text.substr(i + 1, end - i - 1))) {
        out += environment[text.substr(i + 1, end - i - 1)];
        i = end + 1;
      } else {
        out += text[i++];
      }
    }
    return out;
  }
};

inline std::vector<char> Bytes(const std::string& s, bool terminated = true) {
  std::vector<char> v(s.begin(), s.end());
  if (terminated) v.push_back('\0');
  return v;
}
