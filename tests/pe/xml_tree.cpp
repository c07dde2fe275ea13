#include "tests/pe/xml_tree.h"

#include <utility>

namespace xml {
namespace {

constexpr int kMaxDepth = 64;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Element Document() {
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;  // UTF-8 byte order mark
    SkipMisc();
    Element root = ParseElement(0);
    SkipMisc();
    if (pos_ != text_.size()) Fail("content after the root element");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ParseError(what + " at offset " + std::to_string(pos_));
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  bool Consume(std::string_view token) {
    if (!text_.substr(pos_).starts_with(token)) return false;
    pos_ += token.size();
    return true;
  }

  void Expect(std::string_view token) {
    if (!Consume(token)) Fail("expected '" + std::string(token) + "'");
  }

  bool SkipSpace() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
    return pos_ != start;
  }

  void SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, pos_);
    if (found == std::string_view::npos) Fail("unterminated markup, no '" + std::string(end) + "'");
    pos_ = found + end.size();
  }

  // Whitespace, comments and processing instructions (the XML declaration among them).
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (Consume("<!--")) {
        SkipPast("-->");
      } else if (Consume("<?")) {
        SkipPast("?>");
      } else {
        return;
      }
    }
  }

  std::string Name() {
    if (!IsNameStart(Peek())) Fail("expected a name");
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string AttributeValue() {
    const char quote = Peek();
    if (quote != '"' && quote != '\'') Fail("expected a quoted attribute value");
    ++pos_;
    std::string value;
    for (;;) {
      if (AtEnd()) Fail("unterminated attribute value");
      const char c = text_[pos_];
      if (c == quote) break;
      if (c == '<') Fail("'<' in an attribute value");
      if (c != '&') {
        value.push_back(c);
        ++pos_;
        continue;
      }
      static constexpr std::pair<std::string_view, char> kEntities[] = {
          {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
      bool known = false;
      for (const auto& [entity, replacement] : kEntities) {
        if (Consume(entity)) {
          value.push_back(replacement);
          known = true;
          break;
        }
      }
      if (!known) Fail("unsupported entity");
    }
    ++pos_;
    return value;
  }

  Element ParseElement(int depth) {
    if (depth > kMaxDepth) Fail("elements nest too deep");
    Expect("<");
    Element element;
    element.name = Name();
    for (;;) {
      const bool spaced = SkipSpace();
      if (Consume("/>")) return element;
      if (Consume(">")) break;
      if (!spaced) Fail("expected whitespace before an attribute");
      std::string name = Name();
      SkipSpace();
      Expect("=");
      SkipSpace();
      std::string value = AttributeValue();
      if (!element.attributes.emplace(std::move(name), std::move(value)).second) {
        Fail("repeated attribute");
      }
    }
    for (;;) {
      SkipMisc();
      if (Consume("</")) {
        if (Name() != element.name) Fail("end tag does not match <" + element.name + ">");
        SkipSpace();
        Expect(">");
        return element;
      }
      if (AtEnd()) Fail("<" + element.name + "> is not closed");
      if (Peek() != '<' || text_.substr(pos_).starts_with("<!"))
        Fail("unexpected content in <" + element.name + ">");
      element.children.push_back(ParseElement(depth + 1));
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

void AppendOutline(const Element& element, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += element.name;
  for (const auto& [name, value] : element.attributes) out += " " + name + "=\"" + value + "\"";
  out += "\n";
  for (const Element& child : element.children) AppendOutline(child, depth + 1, out);
}

}  // namespace

Element Parse(std::string_view document) {
  return Parser(document).Document();
}

std::string Outline(const Element& element) {
  std::string out;
  AppendOutline(element, 0, out);
  return out;
}

}  // namespace xml
