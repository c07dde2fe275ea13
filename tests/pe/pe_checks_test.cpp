// Checks the shipped 32-bit program file without running it: its headers, manifest, icon,
// version information and imports. The path of the file comes from the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/pe/pe_image.h"
#include "tests/pe/resource_formats.h"
#include "tests/pe/xml_tree.h"

namespace {

std::string g_exe_path;

// The project's version, passed by the build.
constexpr std::uint32_t kMajor = NETSET_EXPECTED_VERSION_MAJOR;
constexpr std::uint32_t kMinor = NETSET_EXPECTED_VERSION_MINOR;
constexpr std::uint32_t kPatch = NETSET_EXPECTED_VERSION_PATCH;

std::string VersionText() {
  return std::to_string(kMajor) + "." + std::to_string(kMinor) + "." + std::to_string(kPatch);
}

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class ShippedExe : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (g_exe_path.empty()) return;
    try {
      image_ = std::make_unique<pe::Image>(pe::Image::Load(g_exe_path));
    } catch (const std::exception& e) {
      load_error_ = e.what();
    }
  }
  static void TearDownTestSuite() { image_.reset(); }

  void SetUp() override {
    ASSERT_FALSE(g_exe_path.empty()) << "usage: pe_checks [gtest options] PATH-TO-netset.exe";
    ASSERT_TRUE(image_) << g_exe_path << ": " << load_error_;
  }

  static const pe::Image& image() { return *image_; }

  // The resources of a numbered type.
  static std::vector<pe::Resource> OfType(std::uint16_t type) {
    std::vector<pe::Resource> found;
    for (pe::Resource& resource : image_->Resources()) {
      if (!resource.type.name && resource.type.id == type) found.push_back(std::move(resource));
    }
    return found;
  }

  static std::unique_ptr<pe::Image> image_;
  static std::string load_error_;
};

std::unique_ptr<pe::Image> ShippedExe::image_;
std::string ShippedExe::load_error_;

TEST_F(ShippedExe, IsA32BitWindowsGuiProgram) {
  EXPECT_EQ(image().machine(), pe::kMachineI386);
  EXPECT_EQ(image().optional_magic(), pe::kMagicPe32);
  EXPECT_EQ(image().subsystem(), pe::kSubsystemWindowsGui);
}

TEST_F(ShippedExe, AsksForAddressRandomisationAndNoExecuteData) {
  const std::uint16_t flags = image().dll_characteristics();
  EXPECT_TRUE(flags & pe::kDllDynamicBase) << "DllCharacteristics 0x" << std::hex << flags;
  EXPECT_TRUE(flags & pe::kDllNxCompat) << "DllCharacteristics 0x" << std::hex << flags;
}

// Two builds of the same sources must give the same bytes, so the linker writes no build time.
TEST_F(ShippedExe, CarriesNoBuildTime) {
  EXPECT_EQ(image().timestamp(), 0u);
}

TEST_F(ShippedExe, ManifestIsResourceOneInTheNeutralLanguage) {
  const auto manifests = OfType(pe::kRtManifest);
  ASSERT_EQ(manifests.size(), 1u);
  EXPECT_EQ(manifests[0].name, pe::ResourceKey::Id(1)) << pe::Printable(manifests[0].name);
  EXPECT_EQ(manifests[0].language, 0);
}

xml::Element ExpectedManifest() {
  const std::string arch = "x86";
  const xml::Element identity{"assemblyIdentity",
                              {{"name", "netset"},
                               {"version", VersionText() + ".0"},
                               {"processorArchitecture", arch},
                               {"type", "win32"}},
                              {}};
  const xml::Element common_controls{"assemblyIdentity",
                                     {{"type", "win32"},
                                      {"name", "Microsoft.Windows.Common-Controls"},
                                      {"version", "6.0.0.0"},
                                      {"processorArchitecture", arch},
                                      {"publicKeyToken", "6595b64144ccf1df"},
                                      {"language", "*"}},
                                     {}};
  const xml::Element dependent{"dependentAssembly", {}, {common_controls}};
  const xml::Element dependency{"dependency", {}, {dependent}};
  const xml::Element level{
      "requestedExecutionLevel", {{"level", "requireAdministrator"}, {"uiAccess", "false"}}, {}};
  const xml::Element privileges{"requestedPrivileges", {}, {level}};
  const xml::Element security{"security", {}, {privileges}};
  const xml::Element trust{"trustInfo", {{"xmlns", "urn:schemas-microsoft-com:asm.v3"}}, {security}};
  return {"assembly",
          {{"xmlns", "urn:schemas-microsoft-com:asm.v1"}, {"manifestVersion", "1.0"}},
          {identity, dependency, trust}};
}

// Exactly these elements and attributes: anything more (DPI awareness, a supported OS list)
// changes how Windows treats the program.
TEST_F(ShippedExe, ManifestHoldsExactlyTheExpectedElements) {
  const auto manifests = OfType(pe::kRtManifest);
  ASSERT_FALSE(manifests.empty());
  const xml::Element manifest = xml::Parse(manifests[0].data.chars());
  EXPECT_EQ(xml::Outline(manifest), xml::Outline(ExpectedManifest()));
}

std::vector<pe::GroupIconEntry> DefaultIconGroup(const std::vector<pe::Resource>& groups) {
  std::vector<pe::GroupIconEntry> entries;
  int found = 0;
  for (const pe::Resource& group : groups) {
    if (group.name.name == u"DEFAULT_ICON") {
      ++found;
      entries = pe::ParseGroupIcon(group.data);
    }
  }
  EXPECT_EQ(found, 1) << "icon groups named DEFAULT_ICON";
  return entries;
}

TEST_F(ShippedExe, IconGroupHoldsEverySizeAtEveryDepth) {
  const auto entries = DefaultIconGroup(OfType(pe::kRtGroupIcon));
  std::vector<std::pair<int, int>> images;  // size, bits a pixel
  for (const auto& entry : entries) {
    EXPECT_EQ(entry.width, entry.height);
    images.emplace_back(entry.width == 0 ? 256 : entry.width, entry.bit_count);
  }
  std::vector<std::pair<int, int>> expected = {{256, 32}};
  for (int size : {16, 32, 48}) {
    for (int bits : {4, 8, 32}) expected.emplace_back(size, bits);
  }
  std::sort(images.begin(), images.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(images, expected);
}

std::uint32_t BigEndian32(const pe::Bytes& bytes, std::size_t at) {
  return std::uint32_t{bytes.U8(at)} << 24 | std::uint32_t{bytes.U8(at + 1)} << 16 |
         std::uint32_t{bytes.U8(at + 2)} << 8 | bytes.U8(at + 3);
}

// How a palettized image shows the background: the AND mask keeps it and a black colour pixel
// leaves it unchanged. Any other colour there would be XORed onto the desktop.
void ExpectMaskOverBlack(const pe::IconDib& dib) {
  int masked = 0;
  for (int y = 0; y < dib.width; ++y) {
    for (int x = 0; x < dib.width; ++x) {
      if (!dib.Transparent(x, y)) continue;
      ++masked;
      const std::size_t entry = std::size_t{dib.PaletteIndex(x, y)} * 4;
      const bool black =
          dib.palette.U8(entry) == 0 && dib.palette.U8(entry + 1) == 0 && dib.palette.U8(entry + 2) == 0;
      EXPECT_TRUE(black) << "pixel " << x << "," << y << " is masked but not black";
    }
  }
  EXPECT_GT(masked, 0) << "no pixel shows the background";
  EXPECT_LT(masked, dib.width * dib.width) << "every pixel shows the background";
}

// In 32-bit images alpha rules; the mask must agree for callers that ignore alpha.
void ExpectAlphaAgreesWithMask(const pe::IconDib& dib) {
  int see_through = 0;
  int opaque = 0;
  for (int y = 0; y < dib.width; ++y) {
    for (int x = 0; x < dib.width; ++x) {
      const std::uint8_t alpha = dib.Alpha(x, y);
      see_through += alpha < 255;
      opaque += alpha == 255;
      EXPECT_EQ(dib.Transparent(x, y), alpha == 0) << "pixel " << x << "," << y;
    }
  }
  // The tile's rounded corners let the background through: an image all opaque (or all clear)
  // has lost its alpha channel.
  EXPECT_GT(see_through, 0) << "no pixel lets the background through";
  EXPECT_GT(opaque, 0) << "no opaque pixel";
}

TEST_F(ShippedExe, IconImagesAreStoredAsTheGroupDescribes) {
  const auto entries = DefaultIconGroup(OfType(pe::kRtGroupIcon));
  ASSERT_FALSE(entries.empty());
  const auto icons = OfType(pe::kRtIcon);
  for (const auto& entry : entries) {
    const int size = entry.width == 0 ? 256 : entry.width;
    SCOPED_TRACE(std::to_string(size) + " pixels, " + std::to_string(entry.bit_count) + " bits, RT_ICON #" +
                 std::to_string(entry.id));
    std::vector<const pe::Resource*> matches;
    for (const pe::Resource& icon : icons) {
      if (icon.name == pe::ResourceKey::Id(entry.id)) matches.push_back(&icon);
    }
    ASSERT_EQ(matches.size(), 1u) << "RT_ICON resources with the group's id";
    const pe::Bytes& data = matches[0]->data;
    EXPECT_EQ(data.size(), entry.bytes);
    EXPECT_EQ(entry.planes, 1);
    // The colour count is only given for images of fewer than 256 colours.
    EXPECT_EQ(entry.colour_count, entry.bit_count == 4 ? 16 : 0);

    if (size == 256) {
      ASSERT_GE(data.size(), 24u);
      EXPECT_TRUE(std::equal(std::begin(pe::kPngSignature), std::end(pe::kPngSignature), data.span().begin()))
          << "the 256 pixel image is not a PNG";
      EXPECT_EQ(BigEndian32(data, 16), 256u) << "PNG width";
      EXPECT_EQ(BigEndian32(data, 20), 256u) << "PNG height";
      continue;
    }
    const pe::IconDib dib = pe::ParseIconDib(data);
    EXPECT_EQ(dib.header_size, 40u);
    EXPECT_EQ(dib.width, size);
    EXPECT_EQ(dib.height, 2 * size) << "the height counts the colour rows and the mask rows";
    EXPECT_EQ(dib.planes, 1);
    EXPECT_EQ(dib.bit_count, entry.bit_count);
    EXPECT_EQ(dib.total_size, data.size());
    if (dib.width != size || dib.bit_count != entry.bit_count) continue;
    if (dib.bit_count == 32) {
      ExpectAlphaAgreesWithMask(dib);
    } else {
      EXPECT_EQ(dib.palette_entries, std::size_t{1} << dib.bit_count);
      ExpectMaskOverBlack(dib);
    }
  }
}

// The string table of Simplified Chinese (0x0804) text in UTF-16 (code page 1200, 0x04b0).
const pe::VersionBlock* StringTable(const pe::VersionBlock& root) {
  const pe::VersionBlock* file_info = root.Child(u"StringFileInfo");
  return file_info ? file_info->Child(u"080404b0") : nullptr;
}

std::optional<std::u16string> StringValue(const pe::VersionBlock& table, std::u16string_view key) {
  const pe::VersionBlock* value = table.Child(key);
  if (!value) return std::nullopt;
  return value->Text();
}

TEST_F(ShippedExe, VersionResourceNamesTheProjectVersion) {
  const auto versions = OfType(pe::kRtVersion);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0].name, pe::ResourceKey::Id(1)) << pe::Printable(versions[0].name);
  const pe::VersionBlock root = pe::ParseVersionInfo(versions[0].data);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");

  const pe::FixedFileInfo fixed = pe::ParseFixedFileInfo(root.value);
  EXPECT_EQ(fixed.signature, pe::kFixedFileInfoSignature);
  EXPECT_EQ(fixed.file_version_ms, kMajor << 16 | kMinor);
  EXPECT_EQ(fixed.file_version_ls, kPatch << 16);
  EXPECT_EQ(fixed.product_version_ms, kMajor << 16 | kMinor);
  EXPECT_EQ(fixed.product_version_ls, kPatch << 16);
  EXPECT_EQ(fixed.file_os, pe::kVosNtWindows32);
  EXPECT_EQ(fixed.file_type, pe::kVftApp);

  const pe::VersionBlock* table = StringTable(root);
  ASSERT_NE(table, nullptr) << "no StringFileInfo block 080404b0";
  EXPECT_EQ(StringValue(*table, u"ProductVersion"), Widen(VersionText()));
  EXPECT_EQ(StringValue(*table, u"FileVersion"), Widen(VersionText()));
}

TEST_F(ShippedExe, VersionStringsNameTheProgram) {
  const auto versions = OfType(pe::kRtVersion);
  ASSERT_FALSE(versions.empty());
  const pe::VersionBlock root = pe::ParseVersionInfo(versions[0].data);
  const pe::VersionBlock* table = StringTable(root);
  ASSERT_NE(table, nullptr) << "no StringFileInfo block 080404b0";

  const std::u16string title = u"\u7f51\u7edc\u8bbe\u7f6e";  // 网络设置, the window's caption
  EXPECT_EQ(StringValue(*table, u"FileDescription"), title);
  EXPECT_EQ(StringValue(*table, u"ProductName"), title);
  EXPECT_EQ(StringValue(*table, u"OriginalFilename"), u"netset.exe");
  for (const char16_t* key : {u"CompanyName", u"LegalCopyright", u"InternalName"}) {
    const auto value = StringValue(*table, key);
    EXPECT_TRUE(value && !value->empty()) << pe::Printable(key) << " is missing or empty";
  }

  // One translation: language 0x0804, code page 1200, as two little-endian words.
  const pe::VersionBlock* var_info = root.Child(u"VarFileInfo");
  const pe::VersionBlock* translation = var_info ? var_info->Child(u"Translation") : nullptr;
  ASSERT_NE(translation, nullptr) << "no VarFileInfo Translation";
  const std::vector<std::uint8_t> value(translation->value.span().begin(), translation->value.span().end());
  EXPECT_EQ(value, (std::vector<std::uint8_t>{0x04, 0x08, 0xB0, 0x04}));
}

bool IsSystemDll(const std::string& name) {
  static const char* const kSystemDlls[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "advapi32.dll",
                                            "ole32.dll",    "oleaut32.dll", "shell32.dll", "comctl32.dll",
                                            "msvcrt.dll",   "shlwapi.dll",  "uxtheme.dll"};
  const std::string lower = Lower(name);
  if (lower.starts_with("api-ms-win-crt-") && lower.ends_with(".dll")) return true;
  return std::find(std::begin(kSystemDlls), std::end(kSystemDlls), lower) != std::end(kSystemDlls);
}

// The program is copied alone onto the target machine: every DLL it loads must come with Windows.
TEST_F(ShippedExe, ImportsOnlySystemDlls) {
  const auto imported = image().ImportedDlls();
  std::vector<std::string> lower;
  for (const std::string& name : imported) lower.push_back(Lower(name));
  EXPECT_NE(std::find(lower.begin(), lower.end(), "kernel32.dll"), lower.end())
      << "no KERNEL32 import: the import directory was not read";
  for (const std::string& name : imported) EXPECT_TRUE(IsSystemDll(name)) << name;
  for (const std::string& name : image().DelayImportedDlls()) EXPECT_TRUE(IsSystemDll(name)) << name;
}

// IP Helper is loaded at run time from the system directory by full path; an import would let
// the loader take an iphlpapi.dll from the program's own directory first.
TEST_F(ShippedExe, DoesNotImportIpHelper) {
  std::vector<std::string> all = image().ImportedDlls();
  const auto delayed = image().DelayImportedDlls();
  all.insert(all.end(), delayed.begin(), delayed.end());
  for (const std::string& name : all) EXPECT_NE(Lower(name), "iphlpapi.dll");
}

// The checks above must fail on a damaged file, never read past it: damaged copies of the
// program file are rejected with a format error.
std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return pe::Bytes(bytes).U32(at);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void ReadEverything(std::vector<std::uint8_t> bytes) {
  const pe::Image damaged(std::move(bytes));
  damaged.Resources();
  damaged.ImportedDlls();
  damaged.DelayImportedDlls();
}

TEST_F(ShippedExe, DamagedCopiesAreRejected) {
  const std::vector<std::uint8_t> good(image().file().begin(), image().file().end());
  ASSERT_NO_THROW(ReadEverything(good));

  const std::size_t pe_at = Get32(good, 0x3C);
  const std::size_t optional_at = pe_at + 24;
  const std::size_t optional_size = pe::Bytes(good).U16(pe_at + 20);
  const std::size_t directories_at = optional_at + (image().optional_magic() == pe::kMagicPe32 ? 96 : 112);
  const std::size_t first_section_data = image().sections().at(0).raw_offset;
  const std::size_t resources_at = image().FileOffset(image().DataDirectory(pe::kResourceDirectory).rva);
  // The first leaf of the resource tree: first type, its first name, that name's first language.
  const std::size_t type_dir = resources_at + (Get32(good, resources_at + 20) & 0x7FFFFFFF);
  const std::size_t language_dir = resources_at + (Get32(good, type_dir + 20) & 0x7FFFFFFF);
  const std::size_t first_leaf = resources_at + Get32(good, language_dir + 20);

  const struct {
    const char* damage;
    std::function<void(std::vector<std::uint8_t>&)> apply;
  } cases[] = {
      {"empty file", [](auto& b) { b.clear(); }},
      {"no MZ signature", [](auto& b) { b[0] = 'X'; }},
      {"PE header offset past the end",
       [](auto& b) { Put32(b, 0x3C, static_cast<std::uint32_t>(b.size())); }},
      {"no PE signature", [&](auto& b) { b[pe_at] = 'X'; }},
      {"cut inside the section table", [&](auto& b) { b.resize(optional_at + optional_size + 20); }},
      {"cut before the first section's data", [&](auto& b) { b.resize(first_section_data); }},
      {"import directory outside every section",
       [&](auto& b) { Put32(b, directories_at + 8 * pe::kImportDirectory, 0xFFFFFF00); }},
      {"resource directory claiming 65535 entries",
       [&](auto& b) { b[resources_at + 14] = b[resources_at + 15] = 0xFF; }},
      {"resource directory that contains itself", [&](auto& b) { Put32(b, resources_at + 20, 0x80000000); }},
      {"resource data outside every section", [&](auto& b) { Put32(b, first_leaf, 0xFFFFFF00); }},
      {"resource data running past its section", [&](auto& b) { Put32(b, first_leaf + 4, 0x7FFFFFFF); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    std::vector<std::uint8_t> bytes = good;
    c.apply(bytes);
    EXPECT_THROW(ReadEverything(std::move(bytes)), pe::FormatError);
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // InitGoogleTest removes its own options; what is left is the program file to inspect.
  if (argc > 2) {
    std::fprintf(stderr, "usage: pe_checks [gtest options] PATH-TO-netset.exe\n");
    return 2;
  }
  if (argc == 2) g_exe_path = argv[1];
  return RUN_ALL_TESTS();
}
