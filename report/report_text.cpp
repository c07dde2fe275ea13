#include "report/report_text.h"

#include <algorithm>

#include "texts.h"

namespace {
constexpr char kLineEnd[] = "\r\n";
constexpr char kSeparator[] = "===============================================";  // 47
}  // namespace

std::string FormatMacText(std::uint32_t addressLength, const std::array<std::uint8_t, 8>& address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::size_t shown = std::min<std::size_t>(addressLength, address.size());
  std::string text;
  for (std::size_t i = 0; i < shown; ++i) {
    if (i != 0) text += '-';
    text += kHex[address[i] >> 4];
    text += kHex[address[i] & 0x0F];
  }
  return text;
}

std::array<std::string, 9> FormatAdapterBlock(const AdapterRecord& record,
                                              const std::string& connectionName) {
  return {
      connectionName + kLineEnd,
      text::kReportName + record.AdapterName + kLineEnd,
      text::kReportDescription + record.Description + kLineEnd,
      text::kReportMac + FormatMacText(record.AddressLength, record.Address) + kLineEnd,
      text::kLabelIp + record.IpAddress + kLineEnd,
      text::kLabelMask + record.IpMask + kLineEnd,
      text::kLabelGateway + record.GatewayAddress + kLineEnd,
      std::string(text::kReportPreferredDns) + kLineEnd,
      std::string(text::kReportAlternateDns) + kLineEnd + kSeparator + kLineEnd,
  };
}
