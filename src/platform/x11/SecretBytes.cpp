#include "platform/x11/SecretBytes.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace nimbrel::x11 {

SecretBytes::SecretBytes(const char* data, std::size_t size)
    : bytes_(std::make_unique<char[]>(size + 1)), size_(size) {
    if (size > 0) {
        std::memcpy(bytes_.get(), data, size);
    }
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        wipe();
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

char* SecretBytes::mallocCopy() const {
    auto* copy = static_cast<char*>(std::malloc(size_ + 1));
    if (copy == nullptr) {
        return nullptr;
    }
    if (size_ > 0) {
        std::memcpy(copy, bytes_.get(), size_);
    }
    copy[size_] = '\0';
    return copy;
}

void SecretBytes::wipe() {
    if (bytes_) {
        overwrite(bytes_.get(), size_ + 1);
    }
    bytes_.reset();
    size_ = 0;
}

void SecretBytes::overwrite(void* data, std::size_t size) {
    if (data != nullptr && size > 0) {
        ::explicit_bzero(data, size);
    }
}

}  // namespace nimbrel::x11
