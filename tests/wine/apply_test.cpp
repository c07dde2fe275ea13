// A click of 设置 on the real program, with the system's script host replaced by a capture.
#include <gtest/gtest.h>

#include "tests/crlf_lines.h"

#include <array>
#include <fstream>
#include <sstream>

#include "driver.h"

namespace {

const std::string kInfoCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";                                 // 信息：
const std::string kSuccess = "\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6";                             // 设置成功
const std::string kIncomplete = "\xC7\xEB\xCC\xEE\xD0\xB4\xCD\xEA\xD5\xFB\xC4\xDA\xC8\xDD";  // 请填写完整内容
const std::string kLineBreak =
    "\xCA\xE4\xC8\xEB\xC4\xDA\xC8\xDD\xB2\xBB\xC4\xDC\xB0\xFC\xBA\xAC\xBB\xBB\xD0\xD0\xB7\xFB";  // 输入内容不能包含换行符
const std::string kWriteFailed =
    "\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xBD\xC5\xB1\xBE\xCE\xC4\xBC\xFE";  // 无法写入脚本文件
const std::string kStartFailed =
    "\xCE\xDE\xB7\xA8\xD4\xCB\xD0\xD0\xBD\xC5\xB1\xBE\xCE\xC4\xBC\xFE";  // 无法运行脚本文件
const std::string kScriptFailed = "\xBD\xC5\xB1\xBE\xD4\xCB\xD0\xD0\xB3\xF6\xB4\xED";  // 脚本运行出错

const int kBoxes[] = {130, 150, 170, 190, 210};
const std::string kCapture = "C:\\capture";
const std::string kHost = "C:\\windows\\system32\\wscript.exe";
const std::string kOriginalHost = kHost + ".orig";

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void DeleteTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveDirectoryA(path.c_str());
  } else {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

class Apply : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(kCapture.c_str(), nullptr);
    for (const char* name : {"runs.txt", "script.bin", "command.txt", "directory.txt"})
      DeleteFileA((kCapture + "\\" + name).c_str());
    SetEnvironmentVariableA("NETSET_CAPTURE_DIR", kCapture.c_str());
    SetEnvironmentVariableA("NETSET_CAPTURE_EXIT", "0");
    if (!Exists(kOriginalHost)) CopyFileA(kHost.c_str(), kOriginalHost.c_str(), TRUE);
    DeleteTree(kHost);
    ASSERT_TRUE(CopyFileA(WinePath(BedEnv("NETSET_CAPTURE_EXE")).c_str(), kHost.c_str(), FALSE));
  }
  void TearDown() override {
    if (program.process && program.Running()) TerminateProcess(program.process.get(), 99);
  }
  void Launch(const std::string& directory = "C:\\netset", const std::string& file = "netset.exe",
              const std::string& workingDirectory = "") {
    runDirectory = directory;
    program = Start(InstallProgram(directory, file), "", workingDirectory);
    ASSERT_TRUE(program.process);
    window = MainWindowOf(program);
    ASSERT_NE(window, nullptr);
  }
  HWND Ctl(int id) { return ControlOf(window, id); }
  void SetBox(int id, const std::string& text) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(Ctl(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        5000, &ignored);
  }
  void SetBoxes(const std::array<std::string, 5>& values) {
    for (int i = 0; i < 5; ++i) SetBox(kBoxes[i], values[i]);
  }
  void EnterIn(int id) {
    FocusControl(window, Ctl(id));
    PressKey(VK_RETURN);
  }
  // Reads the message the click ends with; checks the window takes no input while it shows.
  MessageBoxSeen Outcome() {
    MessageBoxSeen box = WaitForMessageBox(program.id);
    EXPECT_NE(box.box, nullptr);
    EXPECT_EQ(box.caption, kInfoCaption);
    EXPECT_FALSE(IsWindowEnabled(window));
    return box;
  }
  std::string Answer() {
    MessageBoxSeen box = Outcome();
    PressOk(box);
    Settle(window);
    EXPECT_TRUE(IsWindowEnabled(window));
    return box.text;
  }
  int Runs() {
    const std::string runs = ReadFile(kCapture + "\\runs.txt");
    return static_cast<int>(std::count(runs.begin(), runs.end(), '\n'));
  }
  std::string ScriptPath() { return runDirectory + "\\IP.VBS"; }

  Program program;
  HWND window = nullptr;
  std::string runDirectory;
};

const std::array<std::string, 5> kGood = {"192.0.2.10", "255.255.255.0", "192.0.2.1", "198.51.100.53",
                                          "203.0.113.53"};

struct ValueCase {
  const char* what;
  std::array<std::string, 5> typed;
  std::array<std::string, 5> literal;  // as the script holds it between its quotes
};

TEST_F(Apply, ScriptHoldsExactlyWhatWasTyped) {
  const std::string chinese = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3";
  const ValueCase cases[] = {
      {"dotted", kGood, kGood},
      {"blanks kept",
       {" 192.0.2.10", "255.255.255.0 ", "  ", "\t1", "a b"},
       {" 192.0.2.10", "255.255.255.0 ", "  ", "\t1", "a b"}},
      {"letters", {"abc", "mask", "gw", "dns", "x"}, {"abc", "mask", "gw", "dns", "x"}},
      {"code page 936", {chinese, "1", "2", "3", chinese}, {chinese, "1", "2", "3", chinese}},
      {"double quotes",
       {"a\"b", "\"", "\")\" & CreateObject(\"x\")", "1", "\"\""},
       {"a\"\"b", "\"\"", "\"\")\"\" & CreateObject(\"\"x\"\")", "1", "\"\"\"\""}},
  };
  Launch();
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.what);
    const int runsBefore = Runs();
    SetBoxes(c.typed);
    EnterIn(210);
    EXPECT_EQ(Answer(), kSuccess);
    EXPECT_EQ(Runs(), runsBefore + 1);
    const std::string script = ReadFile(kCapture + "\\script.bin");
    std::size_t expectedSize = 837;
    for (const auto& literal : c.literal) expectedSize += literal.size();
    EXPECT_EQ(script.size(), expectedSize);
    const auto lines = CrLfLines(script);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[6], "strIPAddress = Array(\"" + c.literal[0] + "\")");
    EXPECT_EQ(lines[7], "strSubnetMask = Array(\"" + c.literal[1] + "\")");
    EXPECT_EQ(lines[12], "Const STR_GATEWAY = \"" + c.literal[2] + "\"");
    EXPECT_EQ(lines[13], "Const STR_NEWDNS1 = \"" + c.literal[3] + "\"");
    EXPECT_EQ(lines[14], "Const STR_NEWDNS2 = \"" + c.literal[4] + "\" ");
    EXPECT_EQ(lines[23], "Next");
    EXPECT_FALSE(Exists(ScriptPath()));  // gone before the message
  }
  // How it was started: the system's host by full path, in the system directory.
  EXPECT_EQ(ReadFile(kCapture + "\\command.txt"), "\"" + kHost + "\" \"C:\\netset\\IP.VBS\"");
  EXPECT_EQ(ReadFile(kCapture + "\\directory.txt"), "C:\\windows\\system32");
}

// Runs the captured script under Wine's own script host, with a prologue that lets it go on past
// what WMI here cannot do, and lines after it that print each value between angle brackets.
std::string ValuesAsTheScriptSeesThem(const std::string& script) {
  const std::string check = kCapture + "\\check.vbs";
  const std::string output = kCapture + "\\check.txt";
  {
    std::ofstream out(check, std::ios::binary);
    out << "On Error Resume Next\r\n"
        << script << "\r\n"
        << "WScript.Echo \"<\" & strIPAddress(0) & \">\"\r\nWScript.Echo \"<\" & strSubnetMask(0) & \">\"\r\n"
           "WScript.Echo \"<\" & STR_GATEWAY & \">\"\r\nWScript.Echo \"<\" & STR_NEWDNS1 & \">\"\r\n"
           "WScript.Echo \"<\" & STR_NEWDNS2 & \">\"\r\n";
  }
  // Wine's cscript runs on the code of its wscript file: the real one comes back meanwhile.
  CopyFileA(kOriginalHost.c_str(), kHost.c_str(), FALSE);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out =
      CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = INVALID_HANDLE_VALUE;
  std::string commandLine = "C:\\windows\\system32\\cscript.exe //nologo " + check;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started)) {
    CloseHandle(out);
    return "<cscript did not start>";
  }
  WaitForSingleObject(started.hProcess, 60000);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  CloseHandle(out);
  CopyFileA(WinePath(BedEnv("NETSET_CAPTURE_EXE")).c_str(), kHost.c_str(), FALSE);
  return ReadFile(output);
}

std::string Bracketed(const std::array<std::string, 5>& typed) {
  std::string all;
  for (const std::string& value : typed) all += "<" + value + ">\r\n";
  return all;
}

TEST_F(Apply, RealScriptHostReadsBackEveryValueExactly) {
  const std::array<std::array<std::string, 5>, 2> cases = {{
      {"a\"b", "\"", "\")\" & CreateObject(\"x\") & \"", "\"\"", "x\""},
      {"\xB1\xBE\xB5\xD8", "\xC1\xAC\xBD\xD3 1", "\x81\x5C", "\xCD\xF8\"\xBF\xA8", " \xA3\xBA "},
  }};
  Launch();
  for (const auto& typed : cases) {
    SetBoxes(typed);
    EnterIn(130);
    EXPECT_EQ(Answer(), kSuccess);
    EXPECT_EQ(ValuesAsTheScriptSeesThem(ReadFile(kCapture + "\\script.bin")), Bracketed(typed)) << typed[0];
  }
}

TEST_F(Apply, LongValueReachesTheScriptWhole) {
  Launch();
  const std::string longValue(32 * 1024, '7');
  SetBoxes({longValue, "255.255.255.0", "192.0.2.1", "198.51.100.53", "203.0.113.53"});
  EnterIn(130);
  EXPECT_EQ(Answer(), kSuccess);
  const std::string script = ReadFile(kCapture + "\\script.bin");
  EXPECT_EQ(script.size(), 837u + longValue.size() + 13 + 9 + 13 + 12);
  EXPECT_NE(script.find("strIPAddress = Array(\"" + longValue + "\")\r\n"), std::string::npos);
}

TEST_F(Apply, TypedByHandLikeAUser) {
  Launch();
  for (int i = 0; i < 5; ++i) {
    FocusControl(window, Ctl(kBoxes[i]));
    TypeText(kGood[i]);
  }
  PressKey(VK_RETURN);
  EXPECT_EQ(Answer(), kSuccess);
  EXPECT_NE(ReadFile(kCapture + "\\script.bin").find("strIPAddress = Array(\"192.0.2.10\")"),
            std::string::npos);
}

TEST_F(Apply, EmptyBoxesAreRefusedAndNothingIsWritten) {
  Launch();
  for (int empty = 0; empty <= 5; ++empty) {
    SCOPED_TRACE(empty);
    std::array<std::string, 5> values = kGood;
    if (empty == 5) {
      values = {"", "", "", "", ""};
    } else {
      values[empty] = "";
    }
    SetBoxes(values);
    EnterIn(150);
    const MessageBoxSeen box = Outcome();
    EXPECT_EQ(box.text, kIncomplete);
    EXPECT_FALSE(Exists(ScriptPath()));
    PressOk(box);
    Settle(window);
    EXPECT_EQ(FocusIn(window), Ctl(150));  // the focus stays where it was
    for (int i = 0; i < 5; ++i) EXPECT_EQ(TextOf(Ctl(kBoxes[i])), values[i]);
  }
  EXPECT_EQ(Runs(), 0);
}

TEST_F(Apply, EnterRightAfterStartUpRunsOnce) {
  Launch();
  BringToFront(window);
  PressKey(VK_RETURN);
  EXPECT_EQ(Answer(), kIncomplete);
  EXPECT_TRUE(NoMessageBoxFor(program.id, 1000));
}

TEST_F(Apply, EveryWayOfClickingRunsExactlyOnce) {
  Launch();
  SetBoxes(kGood);
  int expected = 0;
  for (int id : kBoxes) {
    EnterIn(id);
    EXPECT_EQ(Answer(), kSuccess) << id;
    EXPECT_EQ(Runs(), ++expected) << id;
  }
  FocusControl(window, Ctl(220));
  PressKey(VK_SPACE);
  EXPECT_EQ(Answer(), kSuccess);
  EXPECT_EQ(Runs(), ++expected);
  BringToFront(window);
  ClickAt(Ctl(220));
  EXPECT_EQ(Answer(), kSuccess);
  EXPECT_EQ(Runs(), ++expected);
  EXPECT_TRUE(NoMessageBoxFor(program.id, 1000));
}

TEST_F(Apply, ExistingScriptFileIsReplacedAndRemoved) {
  Launch();
  CreateDirectoryA(runDirectory.c_str(), nullptr);
  {
    std::ofstream old(ScriptPath(), std::ios::binary);
    old << "WScript.Echo \"old\"\r\n" << std::string(5000, '\'');
  }
  SetFileAttributesA(ScriptPath().c_str(), FILE_ATTRIBUTE_READONLY);
  SetBoxes(kGood);
  EnterIn(130);
  EXPECT_EQ(Answer(), kSuccess);
  EXPECT_EQ(ReadFile(kCapture + "\\script.bin").size(), 837u + 10 + 13 + 9 + 13 + 12);
  EXPECT_FALSE(Exists(ScriptPath()));
}

TEST_F(Apply, ScriptFileThatCannotBeMadeStopsTheClick) {
  Launch();
  SetBoxes(kGood);
  // A directory of that name.
  ASSERT_TRUE(CreateDirectoryA(ScriptPath().c_str(), nullptr));
  EnterIn(130);
  EXPECT_EQ(Answer(), kWriteFailed);
  EXPECT_EQ(Runs(), 0);
  RemoveDirectoryA(ScriptPath().c_str());
  // A file another program holds open without sharing.
  HANDLE held = CreateFileA(ScriptPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EnterIn(130);
  EXPECT_EQ(Answer(), kWriteFailed);
  EXPECT_EQ(Runs(), 0);
  CloseHandle(held);
  DeleteFileA(ScriptPath().c_str());
}

TEST_F(Apply, ScriptHostThatCannotStart) {
  Launch();
  SetBoxes(kGood);
  for (bool directory : {false, true}) {
    SCOPED_TRACE(directory);
    DeleteTree(kHost);
    if (directory) {
      CreateDirectoryA(kHost.c_str(), nullptr);
    } else {
      CloseHandle(CreateFileA(kHost.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));  // empty
    }
    EnterIn(130);
    EXPECT_EQ(Answer(), kStartFailed);
    EXPECT_FALSE(Exists(ScriptPath()));
  }
  EXPECT_EQ(Runs(), 0);
}

TEST_F(Apply, FileTypeAssociationIsNeverUsed) {
  // Point .vbs at another program that would leave a trace.
  const std::string trace = kCapture + "\\association-ran.txt";
  DeleteFileA(trace.c_str());
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\VBSFile\\Shell\\Open\\Command", 0, nullptr, 0,
                  KEY_WRITE, nullptr, &key, nullptr);
  const std::string command = "C:\\windows\\system32\\cmd.exe /c echo ran > " + trace;
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
  Launch();
  SetBoxes(kGood);
  EnterIn(130);
  EXPECT_EQ(Answer(), kSuccess);
  EXPECT_EQ(Runs(), 1);
  Sleep(500);
  EXPECT_FALSE(Exists(trace));
}

// Holds the capture until released, so the test can act while the script "runs".
class HeldScript {
 public:
  HeldScript()
      : release_(CreateEventA(nullptr, TRUE, FALSE, "NetsetCaptureRelease")),
        started_(CreateEventA(nullptr, TRUE, FALSE, "NetsetCaptureStarted")) {}
  bool WaitStarted() { return WaitForSingleObject(started_.get(), 15000) == WAIT_OBJECT_0; }
  void Release() { SetEvent(release_.get()); }
  ~HeldScript() { Release(); }

 private:
  KernelHandle release_;
  KernelHandle started_;
};

TEST_F(Apply, WhileTheScriptRunsItsFileIsLockedAndTheWindowWaits) {
  Launch();
  SetBoxes(kGood);
  HeldScript held;
  EnterIn(130);
  ASSERT_TRUE(held.WaitStarted());
  // Nobody can change, replace, rename or delete the file meanwhile.
  EXPECT_EQ(
      CreateFileA(ScriptPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr),
      INVALID_HANDLE_VALUE);
  EXPECT_FALSE(MoveFileA(ScriptPath().c_str(), (runDirectory + "\\moved.vbs").c_str()));
  EXPECT_FALSE(DeleteFileA(ScriptPath().c_str()));
  // The window takes no click and no key, and shows no message yet.
  FocusControl(window, Ctl(150));
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  ClickAt(Ctl(220));
  EXPECT_TRUE(NoMessageBoxFor(program.id, 1000));
  EXPECT_TRUE(program.Running());
  EXPECT_EQ(Runs(), 1);
  EXPECT_TRUE(Exists(ScriptPath()));
  held.Release();
  const MessageBoxSeen box = Outcome();
  EXPECT_EQ(box.text, kSuccess);
  EXPECT_FALSE(Exists(ScriptPath()));
  PressOk(box);
  EXPECT_TRUE(NoMessageBoxFor(program.id, 1000));  // the dropped clicks do not come back
  EXPECT_EQ(Runs(), 1);
  EXPECT_TRUE(program.Running());
}

TEST_F(Apply, CloseRequestWhileWaitingIsCarriedOutAfterTheOutcome) {
  Launch();
  SetBoxes(kGood);
  HeldScript held;
  EnterIn(130);
  ASSERT_TRUE(held.WaitStarted());
  PostMessageA(window, WM_CLOSE, 0, 0);
  Sleep(500);
  EXPECT_TRUE(program.Running());
  held.Release();
  const MessageBoxSeen box = Outcome();
  EXPECT_EQ(box.text, kSuccess);
  PressOk(box);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_FALSE(Exists(ScriptPath()));
}

TEST_F(Apply, ScriptThatFailsIsReported) {
  SetEnvironmentVariableA("NETSET_CAPTURE_EXIT", "3");
  Launch();
  SetBoxes(kGood);
  EnterIn(130);
  const MessageBoxSeen box = Outcome();
  EXPECT_EQ(box.text, kScriptFailed);
  EXPECT_FALSE(Exists(ScriptPath()));
  PressOk(box);
}

TEST_F(Apply, ScriptGoesNextToTheProgramWhereverItIsStarted) {
  struct Case {
    const char* what;
    std::string directory, file, workingDirectory;
  } const cases[] = {
      {"other working directory", "C:\\netset", "netset.exe", "C:\\windows"},
      {"trail byte 0x5C in the names", "C:\\\x81\x5C", "\x81\x5C.exe", "C:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Launch(c.directory, c.file, c.workingDirectory);
    SetBoxes(kGood);
    EnterIn(130);
    EXPECT_EQ(Answer(), kSuccess);
    EXPECT_EQ(ReadFile(kCapture + "\\command.txt"), "\"" + kHost + "\" \"" + c.directory + "\\IP.VBS\"");
    EXPECT_FALSE(Exists(c.directory + "\\IP.VBS"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
  }
}

}  // namespace
