#include "apply/apply_command.h"

const char* CheckSettings(const StaticSettings& settings) {
  const std::array<const std::string*, kBoxCount> values = {&settings.IpText, &settings.MaskText,
                                                            &settings.GatewayText, &settings.PreferredDnsText,
                                                            &settings.AlternateDnsText};
  for (const std::string* value : values) {
    if (value->empty()) return text::kMsgIncomplete;
  }
  for (const std::string* value : values) {
    if (value->find_first_of("\r\n") != std::string::npos) return text::kMsgLineBreak;
  }
  return nullptr;
}
