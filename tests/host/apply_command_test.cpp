#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "apply/apply_command.h"

namespace {

// Records every platform step of one click, in order, and fails where a case asks it to.
struct FakeOps {
  std::array<std::string, kBoxCount> boxes{"192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53",
                                           "192.0.2.54"};
  std::string runDirectory = "C:\\tools";
  bool createFails = false, lockFails = false, startFails = false;
  std::uint32_t exitCode = 0;
  std::vector<std::string> steps;
  std::string created;

  struct Lock {
    FakeOps* ops;
    Lock(FakeOps* o) : ops(o) {}
    Lock(Lock&& other) noexcept : ops(other.ops) { other.ops = nullptr; }
    ~Lock() {
      if (ops) ops->steps.push_back("unlock");
    }
  };
  struct Process {};

  std::string ReadBox(int i) { return boxes[i]; }
  void ShowMessage(const char* text, unsigned flags) {
    steps.push_back(std::string("message ") + text + " " + std::to_string(flags));
  }
  std::string RunDirectory() { return runDirectory; }
  void RemoveExisting(const std::string& path) { steps.push_back("remove " + path); }
  bool CreateNew(const std::string& path, std::string_view bytes) {
    steps.push_back("create " + path);
    created = bytes;
    return !createFails;
  }
  std::optional<Lock> LockAndVerify(const std::string&, std::string_view bytes) {
    steps.push_back("lock");
    EXPECT_EQ(bytes, created);
    if (lockFails) return std::nullopt;
    return std::optional<Lock>(std::in_place, this);
  }
  std::optional<Process> StartScript(const std::string& path) {
    steps.push_back("start " + path);
    if (startFails) return std::nullopt;
    return Process{};
  }
  std::uint32_t WaitForExit(Process&) {
    steps.push_back("wait");
    return exitCode;
  }
  void Delete(const std::string& path) { steps.push_back("delete " + path); }
};

std::string Message(const char* text, unsigned flags) {
  return std::string("message ") + text + " " + std::to_string(flags);
}

TEST(ApplyStaticSettings, SuccessRunsEveryStepInOrder) {
  FakeOps ops;
  ApplyStaticSettings(ops);
  const std::string path = "C:\\tools\\IP.VBS";
  EXPECT_EQ(ops.steps,
            (std::vector<std::string>{"remove " + path, "create " + path, "lock", "start " + path, "wait",
                                      "unlock", "delete " + path, Message(text::kMsgSuccess, 64)}));
  EXPECT_EQ(ops.created,
            ComposeConfigScript({ops.boxes[0], ops.boxes[1], ops.boxes[2], ops.boxes[3], ops.boxes[4]}));
  EXPECT_EQ(std::string(text::kMsgSuccess), "\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6");  // 设置成功
}

TEST(ApplyStaticSettings, RefusedValuesWriteNothing) {
  struct Case {
    const char* what;
    int box;
    std::string value;
    const char* message;
  };
  const Case cases[] = {
      {"IP empty", 0, "", text::kMsgIncomplete},
      {"mask empty", 1, "", text::kMsgIncomplete},
      {"gateway empty", 2, "", text::kMsgIncomplete},
      {"DNS 1 empty", 3, "", text::kMsgIncomplete},
      {"DNS 2 empty", 4, "", text::kMsgIncomplete},
      {"LF in IP", 0, "192.0.2.1\n", text::kMsgLineBreak},
      {"CR in DNS 2", 4, "\r192.0.2.1", text::kMsgLineBreak},
  };
  for (const auto& c : cases) {
    FakeOps ops;
    ops.boxes[c.box] = c.value;
    ApplyStaticSettings(ops);
    EXPECT_EQ(ops.steps, std::vector<std::string>{Message(c.message, 16)}) << c.what;
  }
  FakeOps allEmpty;
  allEmpty.boxes = {"", "", "", "", ""};
  ApplyStaticSettings(allEmpty);
  EXPECT_EQ(allEmpty.steps, std::vector<std::string>{Message(text::kMsgIncomplete, 16)});
  // An empty box is reported before a line break in an earlier one.
  FakeOps both;
  both.boxes[0] = "a\nb";
  both.boxes[3] = "";
  ApplyStaticSettings(both);
  EXPECT_EQ(both.steps, std::vector<std::string>{Message(text::kMsgIncomplete, 16)});
  EXPECT_EQ(std::string(text::kMsgIncomplete), "\xC7\xEB\xCC\xEE\xD0\xB4\xCD\xEA\xD5\xFB\xC4\xDA\xC8\xDD");
}

TEST(ApplyStaticSettings, BlanksAndNonAddressesPassUnchanged) {
  FakeOps ops;
  ops.boxes = {" ", "abc", "  x  ", "\xB1\xBE", "\""};
  ApplyStaticSettings(ops);
  EXPECT_EQ(ops.steps.back(), Message(text::kMsgSuccess, 64));
  EXPECT_NE(ops.created.find("Array(\" \")"), std::string::npos);
  EXPECT_NE(ops.created.find("Const STR_NEWDNS2 = \"\"\"\" "), std::string::npos);
}

TEST(ApplyStaticSettings, FailuresStopAndLeaveNothingBehind) {
  const std::string path = "D:\\IP.VBS";
  FakeOps create;
  create.runDirectory = "D:";
  create.createFails = true;
  ApplyStaticSettings(create);
  EXPECT_EQ(create.steps, (std::vector<std::string>{"remove " + path, "create " + path,
                                                    Message(text::kMsgWriteFailed, 16)}));

  FakeOps lock;
  lock.runDirectory = "D:";
  lock.lockFails = true;
  ApplyStaticSettings(lock);
  EXPECT_EQ(lock.steps, (std::vector<std::string>{"remove " + path, "create " + path, "lock",
                                                  "delete " + path, Message(text::kMsgWriteFailed, 16)}));

  FakeOps start;
  start.runDirectory = "D:";
  start.startFails = true;
  ApplyStaticSettings(start);
  EXPECT_EQ(start.steps,
            (std::vector<std::string>{"remove " + path, "create " + path, "lock", "start " + path, "unlock",
                                      "delete " + path, Message(text::kMsgStartFailed, 16)}));

  FakeOps script;
  script.exitCode = 1;
  ApplyStaticSettings(script);
  EXPECT_EQ(script.steps.end()[-3], "unlock");
  EXPECT_EQ(script.steps.end()[-2], "delete C:\\tools\\IP.VBS");
  EXPECT_EQ(script.steps.back(), Message(text::kMsgScriptFailed, 16));
}

}  // namespace
