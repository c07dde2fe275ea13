#include "bed_adapters.h"

#include <windows.h>

#include <cstdlib>

#include "driver.h"

namespace {
const std::string kClassKey =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const std::string kLocal = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3";  // 本地连接
const std::string kOutside = "\xCD\xE2\xCD\xF8";                // 外网
const std::string kConnection2 =
    "\xC1\xAC\xBD\xD3"
    "2";  // 连接2

std::string NameOf(const char* lan) {
  return WineAdapterName(std::atoi(BedEnv(lan).c_str()));
}

std::string Mac(const char* lan) {
  std::string mac = BedEnv(lan);
  for (char& c : mac) c = c == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return mac;
}

std::string Block(const std::string& connection, const std::string& name, const char* description,
                  const std::string& mac, const char* ip, const char* mask, const char* gateway) {
  return connection + "\r\n" + "\xC3\xFB\xB3\xC6\xA3\xBA" + name + "\r\n" + "\xC3\xE8\xCA\xF6\xA3\xBA" +
         description + "\r\n" + "MAC\xA3\xBA" + mac + "\r\n" + "IP\xB5\xD8\xD6\xB7(I)\xA3\xBA" + ip + "\r\n" +
         "\xD7\xD3\xCD\xF8\xD1\xDA\xC2\xEB(U)\xA3\xBA" + mask + "\r\n" +
         "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8(D)\xA3\xBA" + gateway + "\r\n" +
         "\xCA\xD7\xD1\xA1"
         "DNS\xB7\xFE\xCE\xF1\xC6\xF7(P)\xA3\xBA"
         "114.114.114.114\r\n" +
         "\xB1\xB8\xD3\xC3"
         "DNS\xB7\xFE\xCE\xF1\xC6\xF7(A)\xA3\xBA"
         "8.8.8.8\r\n" +
         std::string(47, '=') + "\r\n";
}
}  // namespace

void SeedConnectionValue(const std::string& adapterName, long type, const std::string& bytes) {
  const std::string key = kClassKey + adapterName + "\\Connection";
  if (type < 0) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    return;
  }
  HKEY handle = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
  RegSetValueExA(handle, "Name", 0, static_cast<DWORD>(type), reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(handle);
}

void SeedConnectionNames() {
  SetEnvironmentVariableA("NETSET_SIDE", kOutside.c_str());
  SeedConnectionValue(NameOf("NETSET_BED_LAN0_INDEX"), REG_SZ, kLocal + '\0');
  SeedConnectionValue(NameOf("NETSET_BED_LAN1_INDEX"), REG_EXPAND_SZ, "%NETSET_SIDE%" + kConnection2 + '\0');
  SeedConnectionValue(NameOf("NETSET_BED_LAN2_INDEX"), REG_DWORD, std::string("\x01\x00\x00\x00", 4));
}

std::string ExpectedReport() {
  // Only the first address of lan0 (it has two); Wine reports 0.0.0.0 where an adapter has no
  // address or gateway.
  return Block(kLocal, NameOf("NETSET_BED_LAN0_INDEX"), "lan0", Mac("NETSET_BED_LAN0_MAC"), "192.0.2.10",
               "255.255.255.0", "192.0.2.1") +
         Block(kOutside + kConnection2, NameOf("NETSET_BED_LAN1_INDEX"), "lan1", Mac("NETSET_BED_LAN1_MAC"),
               "198.51.100.20", "255.255.255.0", "0.0.0.0") +
         Block("", NameOf("NETSET_BED_LAN2_INDEX"), "lan2", Mac("NETSET_BED_LAN2_MAC"), "0.0.0.0", "0.0.0.0",
               "0.0.0.0");
}
