#pragma once
// A reader of Windows PE images for inspecting a built program without running it. Every read is
// checked against the file, so a malformed or truncated image raises FormatError.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pe {

class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A view of little-endian bytes whose reads throw FormatError when they leave the view.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t size() const { return data_.size(); }
  std::span<const std::uint8_t> span() const { return data_; }
  std::string_view chars() const { return {reinterpret_cast<const char*>(data_.data()), data_.size()}; }

  std::uint8_t U8(std::size_t offset) const;
  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::uint64_t U64(std::size_t offset) const;
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  Bytes Sub(std::size_t offset, std::size_t length) const;
  Bytes From(std::size_t offset) const;

 private:
  void Check(std::size_t offset, std::size_t length) const;

  std::span<const std::uint8_t> data_;
};

// Values of the headers that the checks use.
inline constexpr std::uint16_t kMachineI386 = 0x14C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kMagicPe32 = 0x10B;
inline constexpr std::uint16_t kMagicPe32Plus = 0x20B;
inline constexpr std::uint16_t kSubsystemWindowsGui = 2;
inline constexpr std::uint16_t kDllDynamicBase = 0x40;
inline constexpr std::uint16_t kDllNxCompat = 0x100;

// Indices of the optional header's data directories.
inline constexpr std::size_t kImportDirectory = 1;
inline constexpr std::size_t kResourceDirectory = 2;
inline constexpr std::size_t kDelayImportDirectory = 13;

// Resource types.
inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

struct Section {
  std::string name;
  std::uint32_t virtual_address = 0;
  std::uint32_t virtual_size = 0;
  std::uint32_t raw_offset = 0;
  std::uint32_t raw_size = 0;
};

// A resource type or name: a number, or a string when `name` is set.
struct ResourceKey {
  std::uint16_t id = 0;
  std::optional<std::u16string> name;

  static ResourceKey Id(std::uint16_t id) { return {id, std::nullopt}; }
  bool operator==(const ResourceKey&) const = default;
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  std::uint16_t language = 0;
  Bytes data;
};

class Image {
 public:
  // Parses the headers and the section table.
  explicit Image(std::vector<std::uint8_t> file);
  static Image Load(const std::filesystem::path& path);

  // Resources and sections view the file held here: an image is moved, never copied.
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  Image(Image&&) = default;
  Image& operator=(Image&&) = default;

  std::span<const std::uint8_t> file() const { return file_; }
  std::uint16_t machine() const { return machine_; }
  std::uint32_t timestamp() const { return timestamp_; }
  std::uint16_t optional_magic() const { return optional_magic_; }
  std::uint64_t image_base() const { return image_base_; }
  std::uint16_t subsystem() const { return subsystem_; }
  std::uint16_t dll_characteristics() const { return dll_characteristics_; }
  const std::vector<Section>& sections() const { return sections_; }

  struct Directory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
  };
  // A data directory of the optional header; an absent one is all zero.
  Directory DataDirectory(std::size_t index) const;

  // Where the byte at an RVA lies in the file; only section data counts.
  std::size_t FileOffset(std::uint32_t rva) const;
  Bytes AtRva(std::uint32_t rva, std::uint32_t size) const;
  std::string StringAtRva(std::uint32_t rva) const;

  // Every leaf of the resource tree (type, name, language), in directory order.
  std::vector<Resource> Resources() const;
  // DLL names of the import directory and of the delay-load import directory.
  std::vector<std::string> ImportedDlls() const;
  std::vector<std::string> DelayImportedDlls() const;

 private:
  // Where an RVA's byte lies in the file, and how many mapped bytes of its section follow there.
  struct Located {
    std::size_t offset = 0;
    std::size_t available = 0;
  };
  Located Locate(std::uint32_t rva) const;

  std::vector<std::uint8_t> file_;
  std::uint16_t machine_ = 0;
  std::uint32_t timestamp_ = 0;
  std::uint16_t optional_magic_ = 0;
  std::uint64_t image_base_ = 0;
  std::uint16_t subsystem_ = 0;
  std::uint16_t dll_characteristics_ = 0;
  std::vector<Directory> directories_;
  std::vector<Section> sections_;
};

// UTF-16 text for messages: ASCII as is, anything else as \uXXXX.
std::string Printable(std::u16string_view text);
std::string Printable(const ResourceKey& key);

}  // namespace pe
