#pragma once
// The IP Helper adapter list. The library is bound at run time, on first use, by its full path in
// the system directory: the program runs as administrator, often from a download folder, and a
// DLL of the same name planted beside it must never be the one that loads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "report/adapter_list.h"

class IpHelper {
 public:
  // Loads the library and finds GetAdaptersInfo once per process; false when either is missing.
  static bool Bind();
  // Frees the library; the program calls this only on its way out.
  static void Release();

  // GetAdaptersInfo itself: a null buffer asks only for the size.
  std::uint32_t Fill(std::vector<std::byte>* buffer, std::uint32_t& size);
  // The filled buffer's IP_ADAPTER_INFO chain, record by record, in chain order.
  std::vector<RawAdapterInfo> Walk(const std::vector<std::byte>& filled);
};

inline constexpr char kIpHelperLibrary[] = "IPHlpApi";
inline constexpr char kAdapterListFunction[] = "GetAdaptersInfo";
