// FormatAdapterBlock for any record and connection name.
// Input: the address length (4 bytes, little-endian), the 8 address bytes, then six texts, one a
// line: connection name, adapter name, description, IP address, mask, gateway (the last text
// takes the rest of the input, line breaks and all).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

#include "report/report_text.h"
#include "tests/fuzz/fuzz_support.h"
#include "texts.h"

namespace {
constexpr char kCrLf[] = "\r\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  AdapterRecord record;
  record.AddressLength = input.TakeU32();
  for (std::uint8_t& byte : record.Address) byte = input.TakeByte();
  const auto texts = input.TakeLines(6);
  const std::string& connectionName = texts[0];
  record.AdapterName = texts[1];
  record.Description = texts[2];
  record.IpAddress = texts[3];
  record.IpMask = texts[4];
  record.GatewayAddress = texts[5];

  const auto pieces = FormatAdapterBlock(record, connectionName);
  static_assert(std::tuple_size_v<decltype(pieces)> == 9);

  // Every field verbatim, right after its label, and each piece ends its line.
  FUZZ_REQUIRE(pieces[0] == connectionName + kCrLf);
  FUZZ_REQUIRE(pieces[1] == text::kReportName + record.AdapterName + kCrLf);
  FUZZ_REQUIRE(pieces[2] == text::kReportDescription + record.Description + kCrLf);
  FUZZ_REQUIRE(pieces[3] == text::kReportMac + FormatMacText(record.AddressLength, record.Address) + kCrLf);
  FUZZ_REQUIRE(pieces[4] == text::kLabelIp + record.IpAddress + kCrLf);
  FUZZ_REQUIRE(pieces[5] == text::kLabelMask + record.IpMask + kCrLf);
  FUZZ_REQUIRE(pieces[6] == text::kLabelGateway + record.GatewayAddress + kCrLf);
  FUZZ_REQUIRE(pieces[7] == std::string(text::kReportPreferredDns) + kCrLf);
  const std::string separatorLine = std::string(47, '=') + kCrLf;
  FUZZ_REQUIRE(pieces[8] == text::kReportAlternateDns + (kCrLf + separatorLine));

  std::string block;
  for (const std::string& piece : pieces) block += piece;
  FUZZ_REQUIRE(block.size() >= separatorLine.size());
  FUZZ_REQUIRE(block.compare(block.size() - separatorLine.size(), std::string::npos, separatorLine) == 0);
  // The block's own ten line ends, plus whatever the fields bring: no field's bytes join with a
  // label or a line end into one more. With no CR LF in any field, exactly ten.
  std::size_t fieldLineEnds = 0;
  for (const std::string& text : texts) fieldLineEnds += CountOf(text, kCrLf);
  FUZZ_REQUIRE(CountOf(block, kCrLf) == 10 + fieldLineEnds);
  return 0;
}
