#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

// A 128-bit identifier, written in the standard hyphenated form with upper-case digits.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    // Accepts either case; anything but the 36-character hyphenated form gives none.
    static std::optional<Uuid> parse(std::string_view text);
    // A version-4 identifier from the standard library's random device.
    static Uuid random();
    std::string string() const;

    friend bool operator==(const Uuid&, const Uuid&) = default;
    friend auto operator<=>(const Uuid&, const Uuid&) = default;
};

}  // namespace nimbrel

template <>
struct std::hash<nimbrel::Uuid> {
    std::size_t operator()(const nimbrel::Uuid& u) const noexcept {
        std::size_t h = 0;
        for (auto b : u.bytes) {
            h = h * 131 + b;
        }
        return h;
    }
};
