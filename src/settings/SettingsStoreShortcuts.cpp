// The shortcut part of the settings store: assignment, conflicts, recording and presets.
#include <algorithm>

#include "settings/KeyNames.h"
#include "settings/SettingsStore.h"

namespace nimbrel {

using Kind = ShortcutTarget::Kind;

const Published<std::optional<KeyCombo>>* SettingsStore::fixedCombo(Kind kind) const {
    switch (kind) {
        case Kind::focused:
            return &values_.focusedCombo;
        case Kind::all:
            return &values_.allCombo;
        case Kind::designate:
            return &values_.designateCombo;
        case Kind::focusMode:
            return &values_.focusModeCombo;
        case Kind::regionCover:
            return &values_.regionCoverCombo;
        case Kind::regionClear:
            return &values_.regionClearCombo;
        case Kind::window:
            break;
    }
    return nullptr;
}

Published<std::optional<KeyCombo>>* SettingsStore::fixedCombo(Kind kind) {
    return const_cast<Published<std::optional<KeyCombo>>*>(std::as_const(*this).fixedCombo(kind));
}

std::optional<KeyCombo> SettingsStore::combo(const ShortcutTarget& target) const {
    if (const auto* fixed = fixedCombo(target.kind)) {
        return fixed->get();
    }
    auto found = binding(target.id);
    return found ? found->combo : std::nullopt;
}

std::optional<ShortcutTarget> SettingsStore::conflictingTarget(const KeyCombo& combo) const {
    for (Kind kind : kFixedShortcutOrder) {
        if (fixedCombo(kind)->get() == combo) {
            return ShortcutTarget::fixed(kind);
        }
    }
    for (const auto& b : values_.bindings.get()) {
        if (b.combo == combo) {
            return ShortcutTarget::window(b.id);
        }
    }
    return std::nullopt;
}

void SettingsStore::assign(std::optional<KeyCombo> combo, const ShortcutTarget& target) {
    if (!rule::Shortcut::accepts(combo)) {
        return;
    }
    if (auto* fixed = fixedCombo(target.kind)) {
        fixed->set(combo);
        save();
        return;
    }
    auto list = values_.bindings.get();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const WindowBinding& b) { return b.id == target.id; });
    if (it == list.end()) {
        return;
    }
    it->combo = combo;
    values_.bindings.set(std::move(list));
    save();
}

std::string SettingsStore::name(const ShortcutTarget& target) const {
    switch (target.kind) {
        case Kind::focused:
            return services_.strings.text("shortcut.name.focused"_key);
        case Kind::all:
            return services_.strings.text("shortcut.name.all"_key);
        case Kind::designate:
            return services_.strings.text("shortcut.name.designate"_key);
        case Kind::focusMode:
            return services_.strings.text("shortcut.name.focusMode"_key);
        case Kind::regionCover:
            return services_.strings.text("shortcut.name.regionCover"_key);
        case Kind::regionClear:
            return services_.strings.text("shortcut.name.regionClear"_key);
        case Kind::window:
            break;
    }
    if (auto found = binding(target.id)) {
        return found->label(services_.strings);
    }
    return services_.strings.text("shortcut.name.window"_key);
}

std::string SettingsStore::displayText(const KeyCombo& combo) const {
    return combo.displayText(services_.keyboardLayout);
}

void SettingsStore::startRecording(const ShortcutTarget& target) {
    notice_.set(std::nullopt);
    recording_.set(target);
    if (!keyMonitor_.isActive()) {
        keyMonitor_ = services_.keyMonitor.addLocalKeyDownMonitor(
            guard_.wrap([this](const KeyEvent& e) { return handleRecordingKey(e); }));
    }
    call(onShortcutsChanged);
}

void SettingsStore::stopRecording() {
    keyMonitor_.cancel();
    if (recording_.get()) {
        recording_.set(std::nullopt);
        call(onShortcutsChanged);
    }
}

bool SettingsStore::handleRecordingKey(const KeyEvent& event) {
    if (!recording_.get()) {
        return false;
    }
    ShortcutTarget target = *recording_.get();
    KeyCombo pressed = KeyCombo::fromEvent(event);
    if (pressed.modifiers == 0) {
        if (pressed.keyCode == keynames::kDelete || pressed.keyCode == keynames::kForwardDelete) {
            assign(std::nullopt, target);
            stopRecording();
            return true;
        }
        if (pressed.keyCode == keynames::kEscape) {
            stopRecording();
            return true;
        }
    }
    if (!pressed.isValidShortcut()) {
        notice_.set(services_.strings.text("settings.notice.needModifier"_key));
        services_.sound.beep();
        return true;
    }
    auto other = conflictingTarget(pressed);
    if (other && *other != target) {
        notice_.set(services_.strings.text("settings.notice.alreadyUsed"_key,
                                           {displayText(pressed), name(*other)}));
        services_.sound.beep();
        return true;
    }
    notice_.set(std::nullopt);
    assign(pressed, target);
    stopRecording();
    return true;
}

void SettingsStore::applyModifierPreset(std::uint32_t mask) {
    stopRecording();
    std::vector<std::string> skipped;
    for (Kind kind : kPresetTargetOrder) {
        auto current = fixedCombo(kind)->get();
        if (!current || current->modifiers == 0 || current->modifiers == mask) {
            continue;
        }
        KeyCombo candidate{current->keyCode, mask};
        auto other = conflictingTarget(candidate);
        if (other && *other != ShortcutTarget::fixed(kind)) {
            skipped.push_back(displayText(candidate));
            continue;
        }
        assign(candidate, ShortcutTarget::fixed(kind));
    }
    if (skipped.empty()) {
        notice_.set(std::nullopt);
    } else {
        std::string list;
        for (const auto& text : skipped) {
            list += (list.empty() ? "" : ", ") + text;
        }
        notice_.set(services_.strings.text("settings.notice.modifiersSkipped"_key, {list}));
    }
    call(onShortcutsChanged);
}

std::optional<std::uint32_t> SettingsStore::currentPresetModifiers() const {
    std::set<std::uint32_t> masks;
    for (Kind kind : kPresetTargetOrder) {
        if (auto current = fixedCombo(kind)->get(); current && current->modifiers != 0) {
            masks.insert(current->modifiers);
        }
    }
    if (masks.size() == 1) {
        return *masks.begin();
    }
    return std::nullopt;
}

}  // namespace nimbrel
