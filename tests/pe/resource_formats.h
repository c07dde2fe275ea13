#pragma once
// The layouts inside resources: icon groups, icon bitmaps and version information.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/pe/pe_image.h"

namespace pe {

// One image of an RT_GROUP_ICON directory; a width or height of 0 stands for 256.
struct GroupIconEntry {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint8_t colour_count = 0;
  std::uint16_t planes = 0;
  std::uint16_t bit_count = 0;
  std::uint32_t bytes = 0;
  std::uint16_t id = 0;  // of the RT_ICON resource that holds the image
};
std::vector<GroupIconEntry> ParseGroupIcon(const Bytes& data);

// An icon image stored as a DIB: the header's height counts the colour rows and the AND mask rows.
struct IconDib {
  std::uint32_t header_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bit_count = 0;
  std::uint32_t compression = 0;
  std::size_t palette_entries = 0;
  Bytes palette;               // blue, green, red, 0 for each entry
  std::size_t total_size = 0;  // header, palette, colour rows and mask rows
  Bytes pixels;                // bottom-up rows, each padded to 32 bits
  Bytes mask;                  // 1 bit a pixel, set where the background shows; bottom-up, padded

  // Pixel queries with y counted from the top row.
  bool Transparent(int x, int y) const;
  std::uint8_t PaletteIndex(int x, int y) const;  // 4 and 8-bit images only
  std::uint8_t Alpha(int x, int y) const;         // 32-bit images only
};
IconDib ParseIconDib(const Bytes& data);

inline constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A node of a VS_VERSIONINFO tree: key, value and child nodes.
struct VersionBlock {
  std::u16string key;
  std::uint16_t type = 0;  // 1: the value is text
  Bytes value;
  std::vector<VersionBlock> children;

  const VersionBlock* Child(std::u16string_view child_key) const;
  std::u16string Text() const;  // a text value, without its terminating NUL
};
VersionBlock ParseVersionInfo(const Bytes& data);

struct FixedFileInfo {
  std::uint32_t signature = 0;
  std::uint32_t file_version_ms = 0;
  std::uint32_t file_version_ls = 0;
  std::uint32_t product_version_ms = 0;
  std::uint32_t product_version_ls = 0;
  std::uint32_t file_os = 0;
  std::uint32_t file_type = 0;
};
inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::uint32_t kVosNtWindows32 = 0x40004;
inline constexpr std::uint32_t kVftApp = 1;
FixedFileInfo ParseFixedFileInfo(const Bytes& value);

}  // namespace pe
