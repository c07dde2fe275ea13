#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "report/adapter_record.h"

// Hardware address as upper-case hex pairs joined by "-": AddressLength bytes, at most the 8 held.
std::string FormatMacText(std::uint32_t addressLength, const std::array<std::uint8_t, 8>& address);

// The nine pieces of one adapter's ten-line block, each appended on its own.
std::array<std::string, 9> FormatAdapterBlock(const AdapterRecord& record, const std::string& connectionName);
