#include "settings/KeyNames.h"

#include <utility>

namespace nimbrel::keynames {
namespace {

constexpr std::pair<std::uint32_t, std::string_view> kNamedKeys[] = {
    {36, "↩"},  {76, "⌤"},  {48, "⇥"},  {49, "Space"}, {51, "⌫"},
    {117, "⌦"}, {53, "⎋"},  {123, "←"}, {124, "→"},    {126, "↑"},
    {125, "↓"}, {115, "↖"}, {119, "↘"}, {116, "⇞"},    {121, "⇟"},
};

constexpr std::pair<std::uint32_t, std::string_view> kFunctionKeys[] = {
    {122, "F1"},  {120, "F2"},  {99, "F3"},   {118, "F4"},  {96, "F5"},
    {97, "F6"},   {98, "F7"},   {100, "F8"},  {101, "F9"},  {109, "F10"},
    {103, "F11"}, {111, "F12"}, {105, "F13"}, {107, "F14"}, {113, "F15"},
    {106, "F16"}, {64, "F17"},  {79, "F18"},  {80, "F19"},  {90, "F20"},
};

}  // namespace

std::optional<std::string_view> fixedName(std::uint32_t keyCode) {
    for (const auto& [code, name] : kNamedKeys) {
        if (code == keyCode) {
            return name;
        }
    }
    for (const auto& [code, name] : kFunctionKeys) {
        if (code == keyCode) {
            return name;
        }
    }
    return std::nullopt;
}

bool isFunctionKey(std::uint32_t keyCode) {
    for (const auto& entry : kFunctionKeys) {
        if (entry.first == keyCode) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel::keynames
