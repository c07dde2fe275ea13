// LookupConnectionName against a registry whose Name value has any type and bytes, and may be
// rewritten between the size query and the read.
// Input: a flags byte (bit 0: the adapter's Connection key exists; bit 1: the read finds other
// bytes than the size query; bit 2: expanding environment references fails), the value's type
// (4 bytes, little-endian), the count of stored bytes (1 byte), the stored bytes, then the bytes
// the read finds instead.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/connection_name.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/host/fake_platform.h"

namespace {

constexpr char kAdapterName[] = "{6A1F3C2E-8B4D-4E5A-9C7B-0D2E4F6A8B1C}";

// The fake registry copies a value with memcpy even when it is empty, and an empty vector's data()
// may be null, which is undefined for memcpy whatever the count. A vector that has reserved room
// keeps a real pointer through moves (not through copies), so the fake never sees a null one.
std::vector<char> ValueBytes(const std::string& bytes) {
  std::vector<char> value;
  value.reserve(bytes.size() + 1);
  value.assign(bytes.begin(), bytes.end());
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t flags = input.TakeByte();
  const bool keyExists = flags & 1;
  const bool rewritten = flags & 2;
  const std::uint32_t type = input.TakeU32();
  const std::string stored = input.Take(input.TakeByte());
  const std::string onRead = input.Rest();

  // No environment: expanding leaves the text as it is, so the name comes from the value alone.
  FakeRegistry registry;
  registry.expandFails = flags & 4;
  const std::string keyPath = kNetworkClassKey + std::string(kAdapterName) + "\\Connection";
  if (keyExists) {
    FakeValue value{type, ValueBytes(stored), std::nullopt};
    if (rewritten) value.dataOnRead = ValueBytes(onRead);
    registry.values.emplace(keyPath, std::move(value));
  }

  const std::string name = LookupConnectionName(kAdapterName, registry);

  FUZZ_REQUIRE(registry.opened == std::vector<std::string>{keyPath});
  FUZZ_REQUIRE(name.size() <= stored.size());
  FUZZ_REQUIRE(name.find('\0') == std::string::npos);
  if (!keyExists || (type != kRegSz && type != kRegExpandSz)) FUZZ_REQUIRE(name.empty());
  if (type == kRegExpandSz && registry.expandFails) FUZZ_REQUIRE(name.empty());
  const std::string& read = rewritten ? onRead : stored;
  // A value that changed its size between the queries gives no name.
  if (read.size() != stored.size()) FUZZ_REQUIRE(name.empty());
  // Otherwise a usable value gives the bytes actually read, up to their first zero.
  const bool usable = keyExists && read.size() == stored.size() &&
                      (type == kRegSz || (type == kRegExpandSz && !registry.expandFails));
  if (usable) FUZZ_REQUIRE(name == read.substr(0, read.find('\0')));
  return 0;
}
