#pragma once

#include <string>

namespace nimbrel::test {

// An object whose first value is `levels` nested arrays and which has a second key after it: the
// second key makes the library grow the object after the deep value exists, the step that once
// copied the whole depth recursively.
inline std::string deeplyNestedDocument(int levels) {
    return "{\"a\":" + std::string(levels, '[') + std::string(levels, ']') + ",\"b\":0}";
}

}  // namespace nimbrel::test
