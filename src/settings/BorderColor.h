#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

// A colour in the sRGB space, components 0 … 1.
struct SrgbColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    friend bool operator==(const SrgbColor&, const SrgbColor&) = default;
};

namespace bordercolor {

// The system's blue and red, for border colours that do not parse.
inline constexpr SrgbColor kSystemBlue{0.0, 122.0 / 255.0, 1.0, 1.0};
inline constexpr SrgbColor kSystemRed{1.0, 59.0 / 255.0, 48.0 / 255.0, 1.0};

// "#RRGGBB" or "RRGGBB", surrounding white space allowed; anything else gives no colour.
std::optional<SrgbColor> fromHex(std::string_view text);
// "#RRGGBB" in upper case; none (a colour outside sRGB that could not be converted) gives
// "#000000". Components outside 0 … 1 are held to it.
std::string toHex(const std::optional<SrgbColor>& color);

}  // namespace bordercolor
}  // namespace nimbrel
