// A stand-in IP Helper library that an attacker could leave beside the program. Loading it at all
// leaves a trace file, which the tests look for.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    CloseHandle(
        CreateFileA("C:\\planted-dll-loaded.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO, PULONG) {
  return ERROR_NO_DATA;
}
