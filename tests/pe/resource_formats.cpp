#include "tests/pe/resource_formats.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace pe {
namespace {

constexpr std::size_t kGroupIconHeaderSize = 6;
constexpr std::size_t kGroupIconEntrySize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40;
constexpr std::size_t kFixedFileInfoSize = 52;
// Version blocks nest four deep (root, StringFileInfo, table, string); more means a broken tree.
constexpr int kMaxVersionDepth = 8;

std::size_t RowBytes(std::size_t bits) {
  return (bits + 31) / 32 * 4;
}

std::size_t Align4(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

std::u16string ReadText(const Bytes& bytes, std::size_t& at) {
  std::u16string text;
  for (;;) {
    const char16_t c = static_cast<char16_t>(bytes.U16(at));
    at += 2;
    if (c == 0) return text;
    text.push_back(c);
  }
}

// Block offsets are 4-aligned from the start of the resource, so aligning within a block that
// itself starts aligned gives the same padding.
VersionBlock ParseBlock(const Bytes& data, int depth) {
  if (depth > kMaxVersionDepth) throw FormatError("version information nests too deep");
  const std::size_t length = data.U16(0);
  if (length < 6) throw FormatError("version block of " + std::to_string(length) + " bytes");
  const Bytes block = data.Sub(0, length);
  VersionBlock node;
  const std::size_t value_length = block.U16(2);
  node.type = block.U16(4);
  std::size_t at = 6;
  node.key = ReadText(block, at);
  at = std::min(Align4(at), length);
  // Text lengths count UTF-16 units; some compilers count bytes, so keep within the block.
  const std::size_t value_bytes = std::min(node.type == 1 ? value_length * 2 : value_length, length - at);
  node.value = block.Sub(at, value_bytes);
  at = Align4(at + value_bytes);
  while (at < length) {
    VersionBlock child = ParseBlock(block.From(at), depth + 1);
    at = Align4(at + block.U16(at));
    node.children.push_back(std::move(child));
  }
  return node;
}

}  // namespace

std::vector<GroupIconEntry> ParseGroupIcon(const Bytes& data) {
  if (data.U16(0) != 0 || data.U16(2) != 1) throw FormatError("not an icon group directory");
  const std::size_t count = data.U16(4);
  std::vector<GroupIconEntry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    const Bytes entry = data.Sub(kGroupIconHeaderSize + i * kGroupIconEntrySize, kGroupIconEntrySize);
    entries.push_back({.width = entry.U8(0),
                       .height = entry.U8(1),
                       .colour_count = entry.U8(2),
                       .planes = entry.U16(4),
                       .bit_count = entry.U16(6),
                       .bytes = entry.U32(8),
                       .id = entry.U16(12)});
  }
  return entries;
}

IconDib ParseIconDib(const Bytes& data) {
  IconDib dib;
  dib.header_size = data.U32(0);
  if (dib.header_size < kBitmapInfoHeaderSize) {
    throw FormatError("bitmap header of " + std::to_string(dib.header_size) + " bytes");
  }
  dib.width = data.I32(4);
  dib.height = data.I32(8);
  dib.planes = data.U16(12);
  dib.bit_count = data.U16(14);
  dib.compression = data.U32(16);
  const std::uint32_t colours_used = data.U32(32);
  if (dib.width <= 0 || dib.width > 256 || dib.height <= 0 || dib.height > 512 || dib.height % 2 != 0) {
    throw FormatError("icon bitmap of " + std::to_string(dib.width) + "x" + std::to_string(dib.height));
  }
  if (dib.bit_count != 1 && dib.bit_count != 4 && dib.bit_count != 8 && dib.bit_count != 24 &&
      dib.bit_count != 32) {
    throw FormatError("icon bitmap of " + std::to_string(dib.bit_count) + " bits a pixel");
  }
  // Only uncompressed rows have the layout read below.
  if (dib.compression != 0) throw FormatError("compressed icon bitmap");
  dib.palette_entries = colours_used != 0 ? colours_used : dib.bit_count <= 8 ? 1u << dib.bit_count : 0;
  if (dib.palette_entries > 256) throw FormatError("palette of " + std::to_string(colours_used) + " colours");

  const std::size_t rows = static_cast<std::size_t>(dib.height) / 2;
  const std::size_t width = static_cast<std::size_t>(dib.width);
  dib.palette = data.Sub(dib.header_size, dib.palette_entries * 4);
  std::size_t at = dib.header_size + dib.palette.size();
  dib.pixels = data.Sub(at, RowBytes(width * dib.bit_count) * rows);
  at += dib.pixels.size();
  dib.mask = data.Sub(at, RowBytes(width) * rows);
  dib.total_size = at + dib.mask.size();
  return dib;
}

bool IconDib::Transparent(int x, int y) const {
  const std::size_t row = static_cast<std::size_t>(height / 2 - 1 - y);
  const std::uint8_t bits = mask.U8(row * RowBytes(static_cast<std::size_t>(width)) + x / 8);
  return (bits >> (7 - x % 8) & 1) != 0;
}

std::uint8_t IconDib::PaletteIndex(int x, int y) const {
  if (bit_count != 4 && bit_count != 8) throw std::logic_error("only 4 and 8-bit pixels index a palette");
  const std::size_t row = static_cast<std::size_t>(height / 2 - 1 - y);
  const std::size_t stride = RowBytes(static_cast<std::size_t>(width) * bit_count);
  if (bit_count == 8) return pixels.U8(row * stride + static_cast<std::size_t>(x));
  const std::uint8_t pair = pixels.U8(row * stride + static_cast<std::size_t>(x) / 2);
  return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

std::uint8_t IconDib::Alpha(int x, int y) const {
  if (bit_count != 32) throw std::logic_error("only 32-bit pixels carry alpha");
  const std::size_t row = static_cast<std::size_t>(height / 2 - 1 - y);
  return pixels.U8(row * static_cast<std::size_t>(width) * 4 + static_cast<std::size_t>(x) * 4 + 3);
}

const VersionBlock* VersionBlock::Child(std::u16string_view child_key) const {
  for (const VersionBlock& child : children) {
    if (child.key == child_key) return &child;
  }
  return nullptr;
}

std::u16string VersionBlock::Text() const {
  std::u16string text;
  for (std::size_t at = 0; at + 1 < value.size(); at += 2) {
    const char16_t c = static_cast<char16_t>(value.U16(at));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

VersionBlock ParseVersionInfo(const Bytes& data) {
  return ParseBlock(data, 0);
}

FixedFileInfo ParseFixedFileInfo(const Bytes& value) {
  if (value.size() < kFixedFileInfoSize) {
    throw FormatError("fixed file information of " + std::to_string(value.size()) + " bytes");
  }
  return {.signature = value.U32(0),
          .file_version_ms = value.U32(8),
          .file_version_ls = value.U32(12),
          .product_version_ms = value.U32(16),
          .product_version_ls = value.U32(20),
          .file_os = value.U32(32),
          .file_type = value.U32(36)};
}

}  // namespace pe
