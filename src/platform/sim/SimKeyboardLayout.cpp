#include "platform/sim/SimKeyboardLayout.h"

#include <array>
#include <cctype>
#include <utility>

namespace nimbrel::sim {
namespace {

// What each key of a US ANSI keyboard types without modifiers, indexed by virtual key code.
// Keys that type nothing printable (arrows, F-keys, modifiers) are absent.
constexpr std::pair<std::uint32_t, const char*> kCharacters[] = {
    {0, "a"},     {1, "s"},   {2, "d"},     {3, "f"},  {4, "h"},  {5, "g"},   {6, "z"},
    {7, "x"},     {8, "c"},   {9, "v"},     {11, "b"}, {12, "q"}, {13, "w"},  {14, "e"},
    {15, "r"},    {16, "y"},  {17, "t"},    {18, "1"}, {19, "2"}, {20, "3"},  {21, "4"},
    {22, "6"},    {23, "5"},  {24, "="},    {25, "9"}, {26, "7"}, {27, "-"},  {28, "8"},
    {29, "0"},    {30, "]"},  {31, "o"},    {32, "u"}, {33, "["}, {34, "i"},  {35, "p"},
    {36, "\r"},   {37, "l"},  {38, "j"},    {39, "'"}, {40, "k"}, {41, ";"},  {42, "\\"},
    {43, ","},    {44, "/"},  {45, "n"},    {46, "m"}, {47, "."}, {48, "\t"}, {49, " "},
    {50, "`"},    {51, "\b"}, {53, "\x1b"}, {65, "."}, {67, "*"}, {69, "+"},  {75, "/"},
    {76, "\x03"}, {78, "-"},  {81, "="},    {82, "0"}, {83, "1"}, {84, "2"},  {85, "3"},
    {86, "4"},    {87, "5"},  {88, "6"},    {89, "7"}, {91, "8"}, {92, "9"},  {117, "\x7f"},
};

constexpr std::pair<const char*, std::uint32_t> kNamedKeys[] = {
    {"space", 49},       {"return", 36}, {"enter", 76}, {"tab", 48},    {"delete", 51},
    {"fwd-delete", 117}, {"escape", 53}, {"left", 123}, {"right", 124}, {"up", 126},
    {"down", 125},       {"home", 115},  {"end", 119},  {"pgup", 116},  {"pgdown", 121},
};

constexpr std::array<std::uint32_t, 20> kFunctionKeys{
    122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

std::string SimKeyboardLayout::characters(std::uint32_t keyCode) {
    if (unreadable_) {
        return {};
    }
    for (const auto& [code, text] : kCharacters) {
        if (code == keyCode) {
            return text;
        }
    }
    return {};
}

std::optional<std::uint32_t> SimKeyboardLayout::keyCode(std::string_view name) {
    std::string key = lowered(name);
    for (const auto& [keyName, code] : kNamedKeys) {
        if (key == keyName) {
            return code;
        }
    }
    if (key.size() >= 2 && key[0] == 'f' && std::isdigit(static_cast<unsigned char>(key[1]))) {
        std::size_t number = 0;
        for (std::size_t i = 1; i < key.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(key[i]))) {
                return std::nullopt;
            }
            number = number * 10 + static_cast<std::size_t>(key[i] - '0');
        }
        if (number >= 1 && number <= kFunctionKeys.size()) {
            return kFunctionKeys[number - 1];
        }
        return std::nullopt;
    }
    if (key.size() == 1 && (std::isalnum(static_cast<unsigned char>(key[0])) != 0)) {
        for (const auto& [code, text] : kCharacters) {
            // The main block's keys come before the keypad's in the table.
            if (text[0] == key[0] && text[1] == '\0') {
                return code;
            }
        }
    }
    return std::nullopt;
}

std::optional<SimKeyboardLayout::Combo> SimKeyboardLayout::parseCombo(std::string_view text) {
    Combo combo;
    while (true) {
        auto plus = text.find('+');
        // A lone "+" at the end would be the key itself, which no console name uses.
        if (plus == std::string_view::npos) {
            break;
        }
        std::string modifier = lowered(text.substr(0, plus));
        text.remove_prefix(plus + 1);
        if (modifier == "ctrl") {
            combo.modifiers |= 0x1000;
            combo.eventFlags = combo.eventFlags | EventModifier::control;
        } else if (modifier == "opt") {
            combo.modifiers |= 0x800;
            combo.eventFlags = combo.eventFlags | EventModifier::option;
        } else if (modifier == "shift") {
            combo.modifiers |= 0x200;
            combo.eventFlags = combo.eventFlags | EventModifier::shift;
        } else if (modifier == "cmd") {
            combo.modifiers |= 0x100;
            combo.eventFlags = combo.eventFlags | EventModifier::command;
        } else {
            return std::nullopt;
        }
    }
    auto code = keyCode(text);
    if (!code) {
        return std::nullopt;
    }
    combo.keyCode = *code;
    return combo;
}

}  // namespace nimbrel::sim
