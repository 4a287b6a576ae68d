#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace nimbrel {

// A completion that can be handed to several paths of which only one may answer: the first call
// runs it, every later call does nothing. Copies share the one completion.
class OnceCompletion {
  public:
    explicit OnceCompletion(std::function<void(bool)> completion)
        : completion_(std::make_shared<std::function<void(bool)>>(std::move(completion))) {}

    void operator()(bool success) const {
        auto completion = std::exchange(*completion_, nullptr);
        if (completion) {
            completion(success);
        }
    }

    // Whether no path has answered yet.
    bool isPending() const { return static_cast<bool>(*completion_); }

  private:
    std::shared_ptr<std::function<void(bool)>> completion_;
};

}  // namespace nimbrel
