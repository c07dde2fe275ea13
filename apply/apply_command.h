#pragma once
// What a click of 设置 does, as a sequence over the platform's operations, so that every path of
// it (refusals, failures, the order of start, wait, delete and message) can be followed without
// Windows. The script runs with administrator rights; hence the care below.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "apply/config_script.h"
#include "apply/static_settings.h"
#include "texts.h"

inline constexpr unsigned kErrorIcon = 16;        // MB_ICONERROR
inline constexpr unsigned kInformationIcon = 64;  // MB_ICONINFORMATION
inline constexpr int kBoxCount = 5;

// The run directory never ends in a backslash ("D:" for a program in a drive's root).
inline std::string ScriptPathFor(const std::string& runDirectory) {
  return runDirectory + "\\IP.VBS";
}

// The first message that the typed values earn, or null when they may go into a script: an empty
// box first, then a line break, which no string literal of the script can hold.
const char* CheckSettings(const StaticSettings& settings);

// Ops provides
//   std::string ReadBox(int index);                        // 0..4 in box order
//   void ShowMessage(const char* text, unsigned flags);    // returns when dismissed
//   std::string RunDirectory();
//   void RemoveExisting(const std::string& path);          // a file or a link of that name
//   bool CreateNew(const std::string& path, std::string_view bytes);  // never through an existing name
//   std::optional<Lock> LockAndVerify(const std::string& path, std::string_view bytes);
//   std::optional<Process> StartScript(const std::string& path);
//   std::uint32_t WaitForExit(Process& process);           // keeps the window painting meanwhile
//   void Delete(const std::string& path);
// Lock: held from the check until the script has ended, it keeps the file from being changed,
// renamed or deleted; destroying it releases the file.
template <class Ops>
void ApplyStaticSettings(Ops& ops) {
  StaticSettings settings;
  std::array<std::string*, kBoxCount> fields = {&settings.IpText, &settings.MaskText, &settings.GatewayText,
                                                &settings.PreferredDnsText, &settings.AlternateDnsText};
  for (int i = 0; i < kBoxCount; ++i) *fields[i] = ops.ReadBox(i);
  if (const char* refusal = CheckSettings(settings)) {
    ops.ShowMessage(refusal, kErrorIcon);
    return;
  }

  const std::string path = ScriptPathFor(ops.RunDirectory());
  const std::string script = ComposeConfigScript(settings);
  ops.RemoveExisting(path);
  if (!ops.CreateNew(path, script)) {
    ops.ShowMessage(text::kMsgWriteFailed, kErrorIcon);
    return;
  }
  const char* outcome = nullptr;
  unsigned flags = kErrorIcon;
  {
    auto lock = ops.LockAndVerify(path, script);
    if (!lock) {
      outcome = text::kMsgWriteFailed;
    } else if (auto process = ops.StartScript(path); !process) {
      outcome = text::kMsgStartFailed;
    } else if (ops.WaitForExit(*process) != 0) {
      outcome = text::kMsgScriptFailed;
    } else {
      outcome = text::kMsgSuccess;
      flags = kInformationIcon;
    }
  }  // the lock goes before the delete
  ops.Delete(path);
  ops.ShowMessage(outcome, flags);
}
