// The yardstick for netset's start-up and memory: the least program that does the same job with
// the same platform work. It initialises OLE, runs with the same manifest (common controls 6),
// and shows one window whose multi-line edit box holds the adapter report: GetAdaptersInfo,
// linked normally, and each adapter's connection name from the registry. Whatever netset spends
// beyond this is its own.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <ole2.h>
// clang-format on

#include <string>
#include <vector>

#include "texts.h"

namespace {

constexpr char kWindowClass[] = "NetsetBaselineWindow";
constexpr int kReportId = 100;  // the same identifier as netset's report box, so one driver reads both
constexpr char kNetworkClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

std::string ConnectionName(const char* adapterName) {
  const std::string path = std::string(kNetworkClassKey) + adapterName + "\\Connection";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  char name[256] = {};
  DWORD type = 0, size = sizeof name - 1;
  const LONG result = RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  return name;
}

std::string Mac(const IP_ADAPTER_INFO& info) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (UINT i = 0; i < info.AddressLength && i < sizeof info.Address; ++i) {
    if (i != 0) text += '-';
    text += kHex[info.Address[i] >> 4];
    text += kHex[info.Address[i] & 0x0F];
  }
  return text;
}

// The same lines as netset's report, so both boxes lay out the same amount of text.
std::string Report() {
  ULONG size = 0;
  std::vector<BYTE> buffer;
  DWORD result = GetAdaptersInfo(nullptr, &size);
  while (result == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  std::string report;
  if (result != ERROR_SUCCESS) return report;
  for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
    report += ConnectionName(info->AdapterName) + "\r\n";
    report += std::string(text::kReportName) + info->AdapterName + "\r\n";
    report += std::string(text::kReportDescription) + info->Description + "\r\n";
    report += std::string(text::kReportMac) + Mac(*info) + "\r\n";
    report += std::string(text::kLabelIp) + info->IpAddressList.IpAddress.String + "\r\n";
    report += std::string(text::kLabelMask) + info->IpAddressList.IpMask.String + "\r\n";
    report += std::string(text::kLabelGateway) + info->GatewayList.IpAddress.String + "\r\n";
    report += std::string(text::kReportPreferredDns) + "\r\n";
    report += std::string(text::kReportAlternateDns) + "\r\n" + std::string(47, '=') + "\r\n";
  }
  return report;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  OleInitialize(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  // netset's outer size, centred the same way.
  constexpr int kWidth = 493, kHeight = 491;
  HWND window = CreateWindowExA(0, kWindowClass, text::kCaption, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, kWidth, kHeight, nullptr,
                                nullptr, instance, nullptr);
  HWND report = CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", "",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 8, 8, 472, 160,
      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReportId)), instance, nullptr);
  SendMessageA(report, EM_LIMITTEXT, 0, 0);
  SetWindowTextA(report, Report().c_str());
  ShowWindow(window, SW_SHOW);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  OleUninitialize();
  return static_cast<int>(message.wParam);
}
