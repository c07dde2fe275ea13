#include "apply/config_script.h"

namespace {

// The template in its six fixed pieces, around IpText, MaskText, GatewayText, PreferredDnsText
// and AlternateDnsText. Line 15 alone ends in a blank; line 24 has no line end.
constexpr std::string_view kPiece1 =
    "strComputer = \".\"\r\n"
    "Set objWMIService = GetObject(\"winmgmts:\\\\\" & strComputer & \"\\root\\cimv2\")\r\n"
    "\r\n"
    "Set colNetAdapters = objWMIService.ExecQuery _\r\n"
    "    (\"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=True\")\r\n"
    "\r\n"
    "strIPAddress = Array(\"";
constexpr std::string_view kPiece2 =
    "\")\r\n"
    "strSubnetMask = Array(\"";
constexpr std::string_view kPiece3 =
    "\")\r\n"
    "\r\n"
    "For Each objNetAdapter in colNetAdapters\r\n"
    "    errEnable = objNetAdapter.EnableStatic(strIPAddress, strSubnetMask)\r\n"
    "Next\r\n"
    "Const STR_GATEWAY = \"";
constexpr std::string_view kPiece4 =
    "\"\r\n"
    "Const STR_NEWDNS1 = \"";
constexpr std::string_view kPiece5 =
    "\"\r\n"
    "Const STR_NEWDNS2 = \"";
constexpr std::string_view kPiece6 =
    "\" \r\n"
    "Set fs=CreateObject(\"Scripting.FileSystemObject\")\r\n"
    "strWinMgmt=\"winmgmts:{impersonationLevel=impersonate}\"\r\n"
    "Set objNICs = GetObject( strWinMgmt ).InstancesOf(\"Win32_NetworkAdapterConfiguration\")\r\n"
    "For Each objNIC In objNICs\r\n"
    "If objNIC.IPEnabled Then\r\n"
    "objNIC.SetDNSServerSearchOrder Array(STR_NEWDNS1,STR_NEWDNS2)\r\n"
    "objNIC.SetGateways Array(STR_GATEWAY)\r\n"
    "End If\r\n"
    "Next";

static_assert(kPiece1.size() == 247 && kPiece2.size() == 27 && kPiece3.size() == 148);
static_assert(kPiece4.size() == 24 && kPiece5.size() == 24 && kPiece6.size() == 367);

}  // namespace

std::string QuoteForScript(std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size());
  for (char c : value) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted;
}

std::string ComposeConfigScript(const StaticSettings& settings) {
  std::string script;
  script.reserve(837 + settings.IpText.size() + settings.MaskText.size() + settings.GatewayText.size() +
                 settings.PreferredDnsText.size() + settings.AlternateDnsText.size());
  script += kPiece1;
  script += QuoteForScript(settings.IpText);
  script += kPiece2;
  script += QuoteForScript(settings.MaskText);
  script += kPiece3;
  script += QuoteForScript(settings.GatewayText);
  script += kPiece4;
  script += QuoteForScript(settings.PreferredDnsText);
  script += kPiece5;
  script += QuoteForScript(settings.AlternateDnsText);
  script += kPiece6;
  return script;
}
