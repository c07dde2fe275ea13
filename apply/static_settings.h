#pragma once
#include <string>

// The five texts of one click, exactly as typed: nothing trimmed, converted or parsed.
struct StaticSettings {
  std::string IpText;            // IP地址
  std::string MaskText;          // 子网掩码
  std::string GatewayText;       // 默认网关
  std::string PreferredDnsText;  // 首选DNS服务器
  std::string AlternateDnsText;  // 备用DNS服务器
};
