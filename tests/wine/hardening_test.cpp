// Runs with the IP Helper library set to load a native copy first, as a planted DLL would need.
#include <gtest/gtest.h>

#include "bed_adapters.h"
#include "driver.h"

namespace {

TEST(PlantedLibrary, BesideTheProgramItIsNeverLoaded) {
  SeedConnectionNames();
  const std::string directory = "C:\\downloads";
  const std::string exe = InstallProgram(directory);
  ASSERT_TRUE(CopyFileA(WinePath(BedEnv("NETSET_FAKE_IPHLPAPI")).c_str(),
                        (directory + "\\iphlpapi.dll").c_str(), FALSE));
  DeleteFileA("C:\\planted-dll-loaded.txt");
  const Program program = Start(exe, "", directory);
  HWND window = MainWindowOf(program);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(ControlOf(window, 100)), ExpectedReport());
  EXPECT_EQ(GetFileAttributesA("C:\\planted-dll-loaded.txt"), INVALID_FILE_ATTRIBUTES);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(PlantedLibrary, TheTraceWorks) {
  // The same library loaded the way a naive program would load it does leave its trace.
  DeleteFileA("C:\\planted-dll-loaded.txt");
  HMODULE planted = LoadLibraryA(WinePath(BedEnv("NETSET_FAKE_IPHLPAPI")).c_str());
  ASSERT_NE(planted, nullptr);
  FreeLibrary(planted);
  EXPECT_NE(GetFileAttributesA("C:\\planted-dll-loaded.txt"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
