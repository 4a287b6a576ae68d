#include "platform/x11/Base64.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace nimbrel::x11 {

std::string toBase64(const std::string& bytes) {
    std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
    int n = EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
    return std::string(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(n));
}

std::optional<std::string> fromBase64(const std::string& text) {
    // The block decoder is lenient (spaces, padding anywhere); what the stores wrote is strict.
    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') {
        ++padding;
    }
    bool alphabet = std::all_of(text.begin(), text.end() - static_cast<long>(padding), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
    });
    if (text.size() % 4 != 0 || !alphabet) {
        return std::nullopt;
    }
    std::vector<unsigned char> out(3 * (text.size() / 4) + 1);
    int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(text.size()));
    if (n < 0) {
        return std::nullopt;
    }
    // The block decoder counts the padding as data.
    return std::string(reinterpret_cast<const char*>(out.data()),
                       static_cast<std::size_t>(n) - padding);
}

}  // namespace nimbrel::x11
