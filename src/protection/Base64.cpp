#include "protection/Base64.h"

#include <array>

namespace nimbrel {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    auto at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string base64Encode(const Bytes& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t chunk = std::uint32_t(bytes[i]) << 16;
        std::size_t n = bytes.size() - i;
        if (n > 1) {
            chunk |= std::uint32_t(bytes[i + 1]) << 8;
        }
        if (n > 2) {
            chunk |= bytes[i + 2];
        }
        out += kAlphabet[(chunk >> 18) & 63];
        out += kAlphabet[(chunk >> 12) & 63];
        out += n > 1 ? kAlphabet[(chunk >> 6) & 63] : '=';
        out += n > 2 ? kAlphabet[chunk & 63] : '=';
    }
    return out;
}

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        std::size_t padding = 0;
        if (last && text[i + 3] == '=') {
            padding = text[i + 2] == '=' ? 2 : 1;
        }
        std::array<int, 4> v{};
        for (std::size_t k = 0; k < 4 - padding; ++k) {
            v[k] = sextet(text[i + k]);
            if (v[k] < 0) {
                return std::nullopt;
            }
        }
        std::uint32_t chunk = std::uint32_t(v[0]) << 18 | std::uint32_t(v[1]) << 12 |
                              std::uint32_t(v[2]) << 6 | std::uint32_t(v[3]);
        // Bits below the last whole byte must be zero, or two texts would decode alike.
        if ((padding == 1 && (chunk & 0xFF) != 0) || (padding == 2 && (chunk & 0xFFFF) != 0)) {
            return std::nullopt;
        }
        out.push_back(std::uint8_t(chunk >> 16));
        if (padding < 2) {
            out.push_back(std::uint8_t(chunk >> 8));
        }
        if (padding < 1) {
            out.push_back(std::uint8_t(chunk));
        }
    }
    return out;
}

}  // namespace nimbrel
