#include "tests/pe/pe_image.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace pe {
namespace {

constexpr std::uint16_t kMzSignature = 0x5A4D;      // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kDelayDescriptorSize = 32;
// Resource directory entries flag a subdirectory, and a name given as a string, with the top bit.
constexpr std::uint32_t kHighBit = 0x80000000;

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

bool AllZero(const Bytes& bytes) {
  for (std::uint8_t b : bytes.span()) {
    if (b != 0) return false;
  }
  return true;
}

ResourceKey ReadKey(const Bytes& tree, std::uint32_t field) {
  ResourceKey key;
  if ((field & kHighBit) == 0) {
    if (field > 0xFFFF) throw FormatError("resource id " + Hex(field) + " does not fit 16 bits");
    key.id = static_cast<std::uint16_t>(field);
    return key;
  }
  // A counted UTF-16 string, offset from the start of the resource tree.
  const std::size_t at = field & ~kHighBit;
  const std::uint16_t length = tree.U16(at);
  const Bytes units = tree.Sub(at + 2, std::size_t{length} * 2);
  std::u16string name;
  for (std::size_t i = 0; i < length; ++i) name.push_back(static_cast<char16_t>(units.U16(i * 2)));
  key.name = std::move(name);
  return key;
}

}  // namespace

void Bytes::Check(std::size_t offset, std::size_t length) const {
  if (offset > data_.size() || length > data_.size() - offset) {
    throw FormatError("read of " + std::to_string(length) + " bytes at " + Hex(offset) + " leaves data of " +
                      std::to_string(data_.size()) + " bytes");
  }
}

std::uint8_t Bytes::U8(std::size_t offset) const {
  Check(offset, 1);
  return data_[offset];
}

std::uint16_t Bytes::U16(std::size_t offset) const {
  Check(offset, 2);
  return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
}

std::uint32_t Bytes::U32(std::size_t offset) const {
  Check(offset, 4);
  return std::uint32_t{data_[offset]} | std::uint32_t{data_[offset + 1]} << 8 |
         std::uint32_t{data_[offset + 2]} << 16 | std::uint32_t{data_[offset + 3]} << 24;
}

std::uint64_t Bytes::U64(std::size_t offset) const {
  Check(offset, 8);
  return std::uint64_t{U32(offset)} | std::uint64_t{U32(offset + 4)} << 32;
}

Bytes Bytes::Sub(std::size_t offset, std::size_t length) const {
  Check(offset, length);
  return Bytes(data_.subspan(offset, length));
}

Bytes Bytes::From(std::size_t offset) const {
  Check(offset, 0);
  return Bytes(data_.subspan(offset));
}

Image::Image(std::vector<std::uint8_t> file) : file_(std::move(file)) {
  const Bytes all(file_);
  if (all.U16(0) != kMzSignature) throw FormatError("no MZ signature");
  const std::size_t pe = all.U32(0x3C);
  if (all.U32(pe) != kPeSignature) throw FormatError("no PE signature at " + Hex(pe));

  const Bytes coff = all.Sub(pe + 4, kCoffHeaderSize);
  machine_ = coff.U16(0);
  const std::size_t section_count = coff.U16(2);
  timestamp_ = coff.U32(4);
  const std::size_t optional_size = coff.U16(16);

  const std::size_t optional_at = pe + 4 + kCoffHeaderSize;
  const Bytes optional = all.Sub(optional_at, optional_size);
  optional_magic_ = optional.U16(0);
  // PE32+ widens the image base and the four stack and heap sizes to 64 bits.
  std::size_t count_at = 0;
  if (optional_magic_ == kMagicPe32) {
    image_base_ = optional.U32(28);
    count_at = 92;
  } else if (optional_magic_ == kMagicPe32Plus) {
    image_base_ = optional.U64(24);
    count_at = 108;
  } else {
    throw FormatError("unknown optional header magic " + Hex(optional_magic_));
  }
  subsystem_ = optional.U16(68);
  dll_characteristics_ = optional.U16(70);
  const std::uint32_t directory_count = optional.U32(count_at);
  if (directory_count > 16) throw FormatError(std::to_string(directory_count) + " data directories");
  const Bytes directories = optional.Sub(count_at + 4, std::size_t{directory_count} * 8);
  for (std::size_t i = 0; i < directory_count; ++i) {
    directories_.push_back({directories.U32(i * 8), directories.U32(i * 8 + 4)});
  }

  const Bytes table = all.Sub(optional_at + optional_size, section_count * kSectionHeaderSize);
  for (std::size_t i = 0; i < section_count; ++i) {
    const Bytes header = table.Sub(i * kSectionHeaderSize, kSectionHeaderSize);
    Section section;
    for (std::size_t c = 0; c < 8 && header.U8(c) != 0; ++c)
      section.name.push_back(static_cast<char>(header.U8(c)));
    section.virtual_size = header.U32(8);
    section.virtual_address = header.U32(12);
    section.raw_size = header.U32(16);
    section.raw_offset = header.U32(20);
    if (section.raw_size != 0) all.Sub(section.raw_offset, section.raw_size);  // the data is in the file
    sections_.push_back(std::move(section));
  }
}

Image Image::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error("cannot read " + path.string());
  return Image(std::move(bytes));
}

Image::Directory Image::DataDirectory(std::size_t index) const {
  return index < directories_.size() ? directories_[index] : Directory{};
}

Image::Located Image::Locate(std::uint32_t rva) const {
  for (const Section& section : sections_) {
    // The loader maps no more than the virtual size; the raw data past it is file alignment.
    const std::uint32_t mapped =
        section.virtual_size == 0 ? section.raw_size : std::min(section.raw_size, section.virtual_size);
    if (rva >= section.virtual_address && rva - section.virtual_address < mapped) {
      const std::uint32_t within = rva - section.virtual_address;
      return {std::size_t{section.raw_offset} + within, std::size_t{mapped} - within};
    }
  }
  throw FormatError("RVA " + Hex(rva) + " is in no section's data");
}

std::size_t Image::FileOffset(std::uint32_t rva) const {
  return Locate(rva).offset;
}

Bytes Image::AtRva(std::uint32_t rva, std::uint32_t size) const {
  const Located at = Locate(rva);
  // The whole range must come from the one section that holds its start.
  if (size > at.available) throw FormatError("data at RVA " + Hex(rva) + " crosses a section end");
  return Bytes(file_).Sub(at.offset, size);
}

std::string Image::StringAtRva(std::uint32_t rva) const {
  const Located at = Locate(rva);
  const Bytes rest = Bytes(file_).Sub(at.offset, at.available);
  std::string text;
  for (std::size_t i = 0;; ++i) {
    const char c = static_cast<char>(rest.U8(i));
    if (c == '\0') return text;
    text.push_back(c);
  }
}

std::vector<Resource> Image::Resources() const {
  std::vector<Resource> resources;
  const Directory directory = DataDirectory(kResourceDirectory);
  if (directory.rva == 0) return resources;
  const Bytes tree = AtRva(directory.rva, directory.size);

  // A real tree reaches each directory once; a second visit means a loop.
  std::set<std::uint32_t> visited;
  const auto entries = [&](std::uint32_t offset) {
    if (!visited.insert(offset).second) {
      throw FormatError("resource directory at " + Hex(offset) + " is reached twice");
    }
    const std::size_t count = std::size_t{tree.U16(offset + 12)} + tree.U16(offset + 14);
    const Bytes table = tree.Sub(offset + 16, count * 8);
    std::vector<std::pair<ResourceKey, std::uint32_t>> list;
    for (std::size_t i = 0; i < count; ++i)
      list.emplace_back(ReadKey(tree, table.U32(i * 8)), table.U32(i * 8 + 4));
    return list;
  };
  const auto subdirectory = [](std::uint32_t target) {
    if ((target & kHighBit) == 0) throw FormatError("resource tree ends above the language level");
    return target & ~kHighBit;
  };

  for (const auto& [type, type_target] : entries(0)) {
    for (const auto& [name, name_target] : entries(subdirectory(type_target))) {
      for (const auto& [language, leaf] : entries(subdirectory(name_target))) {
        if ((leaf & kHighBit) != 0) throw FormatError("resource tree goes below the language level");
        if (language.name) throw FormatError("resource language given as a string");
        const Bytes entry = tree.Sub(leaf, 16);
        resources.push_back({type, name, language.id, AtRva(entry.U32(0), entry.U32(4))});
      }
    }
  }
  return resources;
}

std::vector<std::string> Image::ImportedDlls() const {
  std::vector<std::string> names;
  const Directory directory = DataDirectory(kImportDirectory);
  if (directory.rva == 0) return names;
  // The descriptor array ends with an all-zero descriptor, whatever the directory size says.
  for (std::size_t i = 0;; ++i) {
    const std::uint64_t at = directory.rva + i * kImportDescriptorSize;
    if (at > UINT32_MAX) throw FormatError("import descriptors run past the address space");
    const Bytes descriptor = AtRva(static_cast<std::uint32_t>(at), kImportDescriptorSize);
    if (AllZero(descriptor)) return names;
    names.push_back(StringAtRva(descriptor.U32(12)));
  }
}

std::vector<std::string> Image::DelayImportedDlls() const {
  std::vector<std::string> names;
  const Directory directory = DataDirectory(kDelayImportDirectory);
  if (directory.rva == 0) return names;
  for (std::size_t i = 0;; ++i) {
    const std::uint64_t at = directory.rva + i * kDelayDescriptorSize;
    if (at > UINT32_MAX) throw FormatError("delay import descriptors run past the address space");
    const Bytes descriptor = AtRva(static_cast<std::uint32_t>(at), kDelayDescriptorSize);
    if (AllZero(descriptor)) return names;
    // Attribute bit 0 clear: an old-style descriptor that holds addresses, not RVAs.
    std::uint64_t name = descriptor.U32(4);
    if ((descriptor.U32(0) & 1) == 0) {
      if (name < image_base_ || name - image_base_ > UINT32_MAX) {
        throw FormatError("delay import name " + Hex(name) + " lies outside the image");
      }
      name -= image_base_;
    }
    names.push_back(StringAtRva(static_cast<std::uint32_t>(name)));
  }
}

std::string Printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    }
  }
  return out;
}

std::string Printable(const ResourceKey& key) {
  return key.name ? "\"" + Printable(*key.name) + "\"" : "#" + std::to_string(key.id);
}

}  // namespace pe
