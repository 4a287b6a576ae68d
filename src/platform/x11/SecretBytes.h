#pragma once

#include <cstddef>
#include <memory>

namespace nimbrel::x11 {

// A typed password on its way from the dialog to PAM. Its one buffer is overwritten before it is
// freed, and it cannot be copied, so no stray copy outlives the check.
class SecretBytes {
  public:
    SecretBytes() = default;
    SecretBytes(const char* data, std::size_t size);
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;
    ~SecretBytes() { wipe(); }

    const char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }

    // A NUL-terminated copy from malloc, for a PAM conversation: PAM takes it over, and wipes it
    // before freeing it. None when memory runs out.
    char* mallocCopy() const;
    // Overwrites the bytes and lets them go.
    void wipe();

    // Overwrites memory that the compiler might otherwise think dead and skip.
    static void overwrite(void* data, std::size_t size);

  private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
};

}  // namespace nimbrel::x11
