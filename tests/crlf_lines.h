#pragma once
// The lines of a text with CR LF line ends. The piece after the last line end comes last: empty
// when the text ends with a line end, so a text that should end with one can be told apart.
#include <string_view>
#include <vector>

inline std::vector<std::string_view> CrLfLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find("\r\n", at)) != std::string_view::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  lines.push_back(text.substr(at));
  return lines;
}
