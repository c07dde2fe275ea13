#pragma once
// The VBScript program that gives every IP-enabled adapter the typed configuration through WMI.
#include <string>
#include <string_view>

#include "apply/static_settings.h"

// A value as the body of a VBScript string literal: each double quote doubled, the language's own
// escape, so whatever the user typed stays one string and never becomes script code.
std::string QuoteForScript(std::string_view value);

// The fixed 837-byte template (24 CR LF separated lines, no final line end) with the five values
// inserted in box order. Pure: the same values always give the same bytes.
std::string ComposeConfigScript(const StaticSettings& settings);
