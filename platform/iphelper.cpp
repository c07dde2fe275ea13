#include "platform/iphelper.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/handle.h"

// The record copy relies on the SDK's widths being the ones the report expects.
static_assert(sizeof(IP_ADAPTER_INFO::AdapterName) == sizeof(RawAdapterInfo::AdapterName));
static_assert(sizeof(IP_ADAPTER_INFO::Description) == sizeof(RawAdapterInfo::Description));
static_assert(sizeof(IP_ADAPTER_INFO::Address) == sizeof(RawAdapterInfo::Address));
static_assert(sizeof(IP_ADDRESS_STRING::String) == sizeof(RawAdapterInfo::IpAddress));
static_assert(sizeof(IP_MASK_STRING::String) == sizeof(RawAdapterInfo::IpMask));

namespace {
// decltype keeps the SDK's calling convention (stdcall on x86) in the pointer type.
using GetAdaptersInfoFn = decltype(&GetAdaptersInfo);

// Bound once, on the GUI thread, and kept until the program ends.
Library boundLibrary;
GetAdaptersInfoFn boundFunction = nullptr;
}  // namespace

bool IpHelper::Bind() {
  if (boundFunction) return true;
  const std::string path = SystemDirectory() + "\\" + kIpHelperLibrary + ".dll";
  Library library(LoadLibraryExA(path.c_str(), nullptr, 0));
  if (!library) return false;
  FARPROC proc = GetProcAddress(library.get(), kAdapterListFunction);
  if (!proc) return false;
  boundFunction = reinterpret_cast<GetAdaptersInfoFn>(reinterpret_cast<void (*)()>(proc));
  boundLibrary = std::move(library);
  return true;
}

void IpHelper::Release() {
  boundFunction = nullptr;
  boundLibrary.reset();
}

std::uint32_t IpHelper::Fill(std::vector<std::byte>* buffer, std::uint32_t& size) {
  ULONG length = size;
  auto* info = buffer ? reinterpret_cast<IP_ADAPTER_INFO*>(buffer->data()) : nullptr;
  const DWORD result = boundFunction(info, &length);
  size = length;
  return result;
}

std::vector<RawAdapterInfo> IpHelper::Walk(const std::vector<std::byte>& filled) {
  std::vector<RawAdapterInfo> records;
  for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(filled.data()); info; info = info->Next) {
    RawAdapterInfo raw;
    std::memcpy(raw.AdapterName, info->AdapterName, sizeof raw.AdapterName);
    std::memcpy(raw.Description, info->Description, sizeof raw.Description);
    raw.AddressLength = info->AddressLength;
    std::memcpy(raw.Address, info->Address, sizeof raw.Address);
    // Only the entries embedded in the record: further addresses and gateways are not shown.
    std::memcpy(raw.IpAddress, info->IpAddressList.IpAddress.String, sizeof raw.IpAddress);
    std::memcpy(raw.IpMask, info->IpAddressList.IpMask.String, sizeof raw.IpMask);
    std::memcpy(raw.GatewayAddress, info->GatewayList.IpAddress.String, sizeof raw.GatewayAddress);
    records.push_back(raw);
  }
  return records;
}
