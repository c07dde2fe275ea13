// ComposeConfigScript for any five values, read back the way VBScript reads its string literals.
// Input: the five values, one a line, in box order (the last takes the rest of the input, line
// breaks and all).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "apply/apply_command.h"
#include "apply/config_script.h"
#include "tests/crlf_lines.h"
#include "tests/fuzz/fuzz_support.h"
#include "texts.h"

namespace {

constexpr std::size_t kTemplateSize = 837;
constexpr std::size_t kScriptLines = 24;
// The lines (from 0) whose one string literal holds a value, in box order.
constexpr std::array<std::size_t, kBoxCount> kValueLines = {6, 7, 12, 13, 14};

struct Literal {
  std::string value;    // as VBScript reads it
  std::string outside;  // the line with the literal emptied to ""
};

// The line's first string literal by the language's rule: it runs from a quote to the next quote
// that is not doubled, and "" inside it stands for one quote. A literal still open at the end of
// the line is not valid VBScript.
Literal ReadLiteral(std::string_view line) {
  const std::size_t open = line.find('"');
  FUZZ_REQUIRE(open != std::string_view::npos);
  Literal literal;
  std::size_t at = open + 1;
  while (true) {
    FUZZ_REQUIRE(at < line.size());
    if (line[at] != '"') {
      literal.value += line[at++];
    } else if (at + 1 < line.size() && line[at + 1] == '"') {
      literal.value += '"';
      at += 2;
    } else {
      break;
    }
  }
  literal.outside = std::string(line.substr(0, open + 1)) + std::string(line.substr(at));
  return literal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const auto lines = input.TakeLines(kBoxCount);
  const StaticSettings settings{lines[0], lines[1], lines[2], lines[3], lines[4]};
  const std::array<const std::string*, kBoxCount> values = {&settings.IpText, &settings.MaskText,
                                                            &settings.GatewayText, &settings.PreferredDnsText,
                                                            &settings.AlternateDnsText};

  const std::string script = ComposeConfigScript(settings);

  std::size_t expectedSize = kTemplateSize;
  bool anyEmpty = false;
  bool anyLineBreak = false;
  for (const std::string* value : values) {
    expectedSize += value->size() + CountOf(*value, "\"");
    anyEmpty = anyEmpty || value->empty();
    anyLineBreak = anyLineBreak || value->find_first_of("\r\n") != std::string::npos;
  }
  FUZZ_REQUIRE(script.size() == expectedSize);
  FUZZ_REQUIRE(script.ends_with("Next"));
  FUZZ_REQUIRE(ComposeConfigScript(settings) == script);

  // A line break ends a VBScript literal whatever the escaping, so the program must refuse such
  // values before composing; empty boxes are refused first.
  const char* refusal = CheckSettings(settings);
  if (anyEmpty) {
    FUZZ_REQUIRE(refusal == text::kMsgIncomplete);
  } else if (anyLineBreak) {
    FUZZ_REQUIRE(refusal == text::kMsgLineBreak);
  } else {
    FUZZ_REQUIRE(refusal == nullptr);
  }
  if (anyLineBreak) return 0;

  // Read back: each value is exactly its line's literal, and all outside the five literals is
  // the template's own text.
  const auto scriptLines = CrLfLines(script);
  FUZZ_REQUIRE(scriptLines.size() == kScriptLines);
  std::string outside;
  for (std::size_t i = 0; i < scriptLines.size(); ++i) {
    if (i != 0) outside += "\r\n";
    std::size_t box = 0;
    while (box < kBoxCount && kValueLines[box] != i) ++box;
    if (box == kBoxCount) {
      outside += scriptLines[i];
      continue;
    }
    const Literal literal = ReadLiteral(scriptLines[i]);
    FUZZ_REQUIRE(literal.value == *values[box]);
    outside += literal.outside;
  }
  static const std::string kTemplate = ComposeConfigScript({});
  FUZZ_REQUIRE(outside == kTemplate);
  return 0;
}
