// A lesson's title or note as the value of a view's pair: every byte but A-Z a-z 0-9 - . _ ~
// written %XX; and back, strictly: the escapes well formed, the text UTF-8 at its shortest,
// without control characters, and at most `longest` bytes, else why not.
#pragma once

#include "outcome.h"

#include <cstddef>
#include <string>

std::string EncodeViewText(const std::string& text);
Outcome<std::string> DecodeViewText(const std::string& value, std::size_t longest);
