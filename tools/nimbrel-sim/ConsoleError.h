#pragma once

#include <stdexcept>
#include <string>

namespace nimbrel::console {

// A command that cannot be carried out (unknown name, bad argument). Thrown by a handler or a
// helper and caught by the console, which prints it as "error: LINE: MESSAGE".
class ConsoleError : public std::runtime_error {
  public:
    explicit ConsoleError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace nimbrel::console
