#pragma once

#include <optional>
#include <string_view>

#include "platform/UserDefaults.h"

namespace nimbrel {

// Nesting deeper than this is refused. The program's own documents stay below ten levels; the
// limit only has to keep a hostile document from turning into a tree that the JSON library
// copies, compares and prints recursively, one stack frame per level.
inline constexpr int kStoredJsonMaxDepth = 64;

// The one way to read JSON that the program did not just write itself (the settings document,
// the password record, the resume record): none for text that is not JSON, and for a document
// nested deeper than kStoredJsonMaxDepth, which is never built.
std::optional<Json> parseStoredJson(std::string_view bytes);

}  // namespace nimbrel
