#pragma once

namespace nimbrel {

class Sound {
  public:
    virtual ~Sound() = default;
    // The system alert sound: the answer to a user action that cannot be carried out.
    virtual void beep() = 0;
};

}  // namespace nimbrel
