#pragma once
// The three adapters of the bed's default layout, their connection names as the tests seed them
// in the prefix's registry, and the exact report the program must show for them.
#include <string>

// Seeds lan0 as REG_SZ 本地连接, lan1 as REG_EXPAND_SZ naming %NETSET_SIDE% (set here to 外网
// for this process and what it starts), lan2 as REG_DWORD.
void SeedConnectionNames();

// Sets one adapter name's connection value: type and raw bytes; a negative type removes the key.
void SeedConnectionValue(const std::string& adapterName, long type, const std::string& bytes);

// The whole report for the three adapters, in code page 936, CR LF line ends.
std::string ExpectedReport();
