#pragma once
// Enough XML for an application manifest: elements and attributes only. The declaration,
// comments and whitespace between elements are allowed; text content, CDATA, doctypes and
// entities other than the five predefined ones raise ParseError, as nothing of the kind belongs
// in the documents checked with it.
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Element {
  std::string name;  // as written, prefix included
  std::map<std::string, std::string> attributes;
  std::vector<Element> children;

  bool operator==(const Element&) const = default;
};

Element Parse(std::string_view document);

// One line an element, indented by depth, attributes sorted: a form whose difference shows
// exactly what two trees disagree on.
std::string Outline(const Element& element);

}  // namespace xml
