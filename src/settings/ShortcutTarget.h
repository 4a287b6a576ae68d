#pragma once

#include <array>
#include <compare>
#include <functional>

#include "settings/Uuid.h"

namespace nimbrel {

// What a shortcut does: one of the fixed actions, or the window binding with `id`.
struct ShortcutTarget {
    // In declaration order; the order is what sorts sets of targets.
    enum class Kind { window, focused, all, designate, focusMode, regionCover, regionClear };

    Kind kind = Kind::focused;
    // Meaningful for `window` only; zero otherwise, so that equality is the case alone.
    Uuid id{};

    static ShortcutTarget window(const Uuid& id) { return {Kind::window, id}; }
    static constexpr ShortcutTarget fixed(Kind kind) { return {kind, {}}; }
    bool isWindow() const { return kind == Kind::window; }

    friend bool operator==(const ShortcutTarget&, const ShortcutTarget&) = default;
    friend auto operator<=>(const ShortcutTarget&, const ShortcutTarget&) = default;
};

// The order in which the fixed shortcuts are compared for conflicts and registered.
inline constexpr std::array<ShortcutTarget::Kind, 6> kFixedShortcutOrder{
    ShortcutTarget::Kind::focused,     ShortcutTarget::Kind::all,
    ShortcutTarget::Kind::designate,   ShortcutTarget::Kind::focusMode,
    ShortcutTarget::Kind::regionCover, ShortcutTarget::Kind::regionClear,
};

// The targets a modifier preset changes, in the order it changes them.
inline constexpr std::array<ShortcutTarget::Kind, 6> kPresetTargetOrder{
    ShortcutTarget::Kind::focused,     ShortcutTarget::Kind::designate,
    ShortcutTarget::Kind::all,         ShortcutTarget::Kind::regionCover,
    ShortcutTarget::Kind::regionClear, ShortcutTarget::Kind::focusMode,
};

}  // namespace nimbrel

template <>
struct std::hash<nimbrel::ShortcutTarget> {
    std::size_t operator()(const nimbrel::ShortcutTarget& t) const noexcept {
        return std::hash<nimbrel::Uuid>{}(t.id) * 31 + static_cast<std::size_t>(t.kind);
    }
};
