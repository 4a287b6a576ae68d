#include "settings/SettingsStore.h"

#include <algorithm>
#include <utility>

#include "platform/StoredJson.h"
#include "settings/JsonValue.h"
#include "settings/TextRules.h"
#include "settings/WindowLabel.h"

namespace nimbrel {

SettingsStore::SettingsStore(Services services) : services_(std::move(services)) {
    if (!services_.makeId) {
        services_.makeId = [] { return Uuid::random(); };
    }
    load();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::load() {
    Persisted doc;
    if (auto bytes = services_.defaults.data(kDefaultsKey)) {
        auto parsed = parseStoredJson(*bytes);
        auto decoded = parsed ? Persisted::decode(*parsed) : std::nullopt;
        if (decoded) {
            doc = std::move(*decoded);
        } else {
            // One mistyped value must not silently cost the user every binding: the first save
            // keeps these bytes under another key before it replaces them.
            unreadable_ = std::move(*bytes);
        }
    }
    publish(doc);
    hasAppPassword_.set(services_.hasAppPassword);
    appPasswordMissing_.set(services_.appPasswordMissing);
    if (services_.screenChoiceChanged) {
        services_.screenChoiceChanged(screenChoice_.get(), screenChoiceName_.get());
    }
}

void SettingsStore::publish(const Persisted& doc) {
    auto sameAsOther = [&](const std::optional<KeyCombo>& combo,
                           std::initializer_list<std::optional<KeyCombo>> others) {
        if (!combo) {
            return false;
        }
        for (const auto& other : others) {
            if (other == combo) {
                return true;
            }
        }
        return std::any_of(doc.bindings.begin(), doc.bindings.end(),
                           [&](const WindowBinding& b) { return b.combo == combo; });
    };
    // The region shortcuts came last; where an older document already uses their combination
    // elsewhere, the older use wins.
    std::optional<KeyCombo> regionCover = doc.regionCoverCombo;
    if (sameAsOther(regionCover,
                    {doc.focusedCombo, doc.allCombo, doc.designateCombo, doc.focusModeCombo})) {
        regionCover.reset();
    }
    std::optional<KeyCombo> regionClear = doc.regionClearCombo;
    if (sameAsOther(regionClear, {doc.focusedCombo, doc.allCombo, doc.designateCombo,
                                  doc.focusModeCombo, regionCover})) {
        regionClear.reset();
    }

    focusedCombo_.set(doc.focusedCombo);
    lockFocused_.set(doc.lockFocused);
    allCombo_.set(doc.allCombo);
    designateCombo_.set(doc.designateCombo);
    focusModeCombo_.set(doc.focusModeCombo);
    regionCoverCombo_.set(regionCover);
    regionClearCombo_.set(regionClear);
    bindings_.set(doc.bindings);
    allowedApps_.set(doc.allowedApps);
    focusLock_.set(doc.focusLock);
    holdDuration_.set(doc.holdDuration);
    idleMinutes_.set(doc.idleMinutes);
    hideMenuBarIcon_.set(doc.hideMenuBarIcon);
    autoHideOnMonitorChange_.set(doc.autoHideOnMonitorChange);
    autoHideOnScreenShare_.set(doc.autoHideOnScreenShare);
    autoHideOnLock_.set(doc.autoHideOnLock);
    relockMinutes_.set(doc.relockMinutes);
    hotCorner_.set(hotCornerFromRaw(doc.hotCorner));
    keywords_.set(doc.keywords);
    useCover_.set(doc.useCover);
    showBorders_.set(doc.showBorders);
    borderIndicatorStyle_.set(borderIndicatorStyleFromRaw(doc.borderIndicatorStyle));
    borderColorNormalHex_.set(doc.borderColorNormalHex);
    borderColorLockedHex_.set(doc.borderColorLockedHex);
    borderOpacity_.set(std::clamp(doc.borderOpacity, kMinimumBorderOpacity, kMaximumBorderOpacity));
    coverMessage_.set(doc.coverMessage.empty() ? services_.strings.text("cover.label"_key)
                                               : doc.coverMessage);
    instantHide_.set(doc.instantHide);
    showDockIcon_.set(doc.showDockIcon);
    savedCovers_.set(doc.savedCovers);
    askToRemoveMissing_.set(doc.askToRemoveMissing);
    screenChoice_.set(doc.screenChoice);
    screenChoiceName_.set(doc.screenChoiceName);
    hideWhenAppears_.set(doc.hideWhenAppears);
}

Persisted SettingsStore::snapshot() const {
    Persisted doc;
    doc.focusedCombo = focusedCombo_.get();
    doc.lockFocused = lockFocused_.get();
    doc.allCombo = allCombo_.get();
    doc.designateCombo = designateCombo_.get();
    doc.focusModeCombo = focusModeCombo_.get();
    doc.regionCoverCombo = regionCoverCombo_.get();
    doc.regionClearCombo = regionClearCombo_.get();
    doc.bindings = bindings_.get();
    doc.allowedApps = allowedApps_.get();
    doc.focusLock = focusLock_.get();
    doc.holdDuration = holdDuration_.get();
    doc.idleMinutes = idleMinutes_.get();
    doc.hideMenuBarIcon = hideMenuBarIcon_.get();
    doc.autoHideOnMonitorChange = autoHideOnMonitorChange_.get();
    doc.autoHideOnScreenShare = autoHideOnScreenShare_.get();
    doc.autoHideOnLock = autoHideOnLock_.get();
    doc.relockMinutes = relockMinutes_.get();
    doc.hotCorner = static_cast<long long>(hotCorner_.get());
    doc.keywords = keywords_.get();
    doc.useCover = useCover_.get();
    doc.showBorders = showBorders_.get();
    doc.borderIndicatorStyle = static_cast<long long>(borderIndicatorStyle_.get());
    doc.borderColorNormalHex = borderColorNormalHex_.get();
    doc.borderColorLockedHex = borderColorLockedHex_.get();
    doc.borderOpacity = borderOpacity_.get();
    // The default text is stored as empty so that it follows the user's language.
    doc.coverMessage = coverMessage_.get() == services_.strings.text("cover.label"_key)
                           ? std::string()
                           : coverMessage_.get();
    doc.instantHide = instantHide_.get();
    doc.showDockIcon = showDockIcon_.get();
    doc.savedCovers = savedCovers_.get();
    doc.askToRemoveMissing = askToRemoveMissing_.get();
    doc.screenChoice = screenChoice_.get();
    doc.screenChoiceName = screenChoiceName_.get();
    doc.hideWhenAppears = hideWhenAppears_.get();
    return doc;
}

void SettingsStore::save() {
    Json document = snapshot().encode();
    if (!json::isEncodable(document)) {
        return;
    }
    // Text that is not valid UTF-8 (a window title from a misbehaving application) is written
    // with replacement characters rather than losing the whole document.
    std::string bytes = document.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (unreadable_) {
        services_.defaults.setData(kUnreadableKey, *unreadable_);
        unreadable_.reset();
    }
    services_.defaults.setData(kDefaultsKey, bytes);
}

void SettingsStore::call(const std::function<void()>& callback) {
    if (callback) {
        // A copy, so that a callback may replace itself while it runs.
        auto run = callback;
        run();
    }
}

void SettingsStore::authenticateThen(StringKey reason, std::function<void(bool)> then) {
    if (!services_.authenticate) {
        then(false);
        return;
    }
    std::weak_ptr<int> alive = alive_;
    services_.authenticate(services_.strings.text(reason),
                           [alive, then = std::move(then)](bool success) {
                               if (alive.lock()) {
                                   then(success);
                               }
                           });
}

void SettingsStore::setHoldDuration(double seconds) {
    holdDuration_.set(seconds);
    save();
}

void SettingsStore::setIdleMinutes(long long minutes) {
    idleMinutes_.set(minutes);
    save();
}

void SettingsStore::setRelockMinutes(long long minutes) {
    relockMinutes_.set(minutes);
    save();
}

void SettingsStore::setHideMenuBarIcon(bool on) {
    hideMenuBarIcon_.set(on);
    save();
}

void SettingsStore::setUseCover(bool on) {
    useCover_.set(on);
    save();
}

void SettingsStore::setInstantHide(bool on) {
    instantHide_.set(on);
    save();
}

void SettingsStore::setAskToRemoveMissing(bool on) {
    askToRemoveMissing_.set(on);
    save();
}

void SettingsStore::setFocusLock(bool on) {
    focusLock_.set(on);
    save();
}

void SettingsStore::setLockFocused(bool on) {
    lockFocused_.set(on);
    save();
}

void SettingsStore::setAutoHideOnMonitorChange(bool on) {
    autoHideOnMonitorChange_.set(on);
    save();
    call(onTriggersChanged);
}

void SettingsStore::setAutoHideOnScreenShare(bool on) {
    autoHideOnScreenShare_.set(on);
    save();
    call(onTriggersChanged);
}

void SettingsStore::setAutoHideOnLock(bool on) {
    autoHideOnLock_.set(on);
    save();
    call(onTriggersChanged);
}

void SettingsStore::setHotCorner(HotCorner corner) {
    hotCorner_.set(corner);
    save();
    call(onTriggersChanged);
}

void SettingsStore::setHideWhenAppears(bool on) {
    hideWhenAppears_.set(on);
    save();
    call(onTriggersChanged);
}

void SettingsStore::setShowBorders(bool on) {
    showBorders_.set(on);
    save();
    call(onBordersChanged);
}

void SettingsStore::setBorderIndicatorStyle(BorderIndicatorStyle style) {
    borderIndicatorStyle_.set(style);
    save();
    call(onBordersChanged);
}

void SettingsStore::setBorderColorNormalHex(const std::string& hex) {
    borderColorNormalHex_.set(hex);
    save();
    call(onBordersChanged);
}

void SettingsStore::setBorderColorLockedHex(const std::string& hex) {
    borderColorLockedHex_.set(hex);
    save();
    call(onBordersChanged);
}

void SettingsStore::setBorderOpacity(double opacity) {
    borderOpacity_.set(std::clamp(opacity, kMinimumBorderOpacity, kMaximumBorderOpacity));
    save();
    call(onBordersChanged);
}

void SettingsStore::setShowDockIcon(bool on) {
    showDockIcon_.set(on);
    save();
    call(onDockIconChanged);
}

void SettingsStore::setCoverMessage(const std::string& message) {
    std::string text = text::trimmed(message);
    coverMessage_.set(text.empty() ? services_.strings.text("cover.label"_key) : text);
    save();
}

void SettingsStore::setKeywords(const std::vector<std::string>& keywords) {
    std::vector<std::string> kept;
    for (const auto& keyword : keywords) {
        std::string text = text::trimmedSpacesAndTabs(keyword);
        if (!text.empty()) {
            kept.push_back(std::move(text));
        }
    }
    keywords_.set(std::move(kept));
    save();
}

void SettingsStore::setScreenChoice(const std::string& id, const std::string& name) {
    screenChoice_.set(id);
    screenChoiceName_.set(name);
    if (services_.screenChoiceChanged) {
        services_.screenChoiceChanged(id, name);
    }
    save();
}

void SettingsStore::setUnavailable(std::set<ShortcutTarget> targets) {
    unavailable_.set(std::move(targets));
}

void SettingsStore::resetCoverMessage() {
    coverMessage_.set(services_.strings.text("cover.label"_key));
    save();
}

void SettingsStore::resetBorderAppearance() {
    Persisted defaults;
    borderColorNormalHex_.set(defaults.borderColorNormalHex);
    borderColorLockedHex_.set(defaults.borderColorLockedHex);
    borderOpacity_.set(defaults.borderOpacity);
    borderIndicatorStyle_.set(BorderIndicatorStyle::fullBorder);
    save();
    call(onBordersChanged);
}

SrgbColor SettingsStore::normalBorderColor() const {
    return bordercolor::fromHex(borderColorNormalHex_.get()).value_or(bordercolor::kSystemBlue);
}

SrgbColor SettingsStore::lockedBorderColor() const {
    return bordercolor::fromHex(borderColorLockedHex_.get()).value_or(bordercolor::kSystemRed);
}

std::optional<SavedCover> SettingsStore::addSavedCover(const std::string& name,
                                                       std::vector<SavedCover::Region> regions) {
    if (regions.empty()) {
        return std::nullopt;
    }
    std::string trimmedName = text::trimmed(name);
    SavedCover cover;
    cover.id = services_.makeId();
    cover.name = trimmedName.empty() ? defaultCoverName(regions) : trimmedName;
    cover.regions = std::move(regions);
    auto covers = savedCovers_.get();
    covers.push_back(cover);
    savedCovers_.set(std::move(covers));
    save();
    return cover;
}

std::string SettingsStore::defaultCoverName(const std::vector<SavedCover::Region>& regions) const {
    for (const auto& region : regions) {
        if (!region.window) {
            continue;
        }
        return windowLabel(services_.strings, region.window->appName, region.window->title);
    }
    return services_.strings.text("region.screenName"_key);
}

void SettingsStore::renameSavedCover(const Uuid& id, const std::string& name) {
    std::string trimmedName = text::trimmed(name);
    if (trimmedName.empty()) {
        return;
    }
    auto covers = savedCovers_.get();
    auto it = std::find_if(covers.begin(), covers.end(),
                           [&](const SavedCover& cover) { return cover.id == id; });
    if (it == covers.end()) {
        return;
    }
    it->name = trimmedName;
    savedCovers_.set(std::move(covers));
    save();
}

void SettingsStore::removeSavedCover(const Uuid& id) {
    auto covers = savedCovers_.get();
    if (std::erase_if(covers, [&](const SavedCover& cover) { return cover.id == id; }) == 0) {
        return;
    }
    savedCovers_.set(std::move(covers));
    save();
}

void SettingsStore::setOrChangePassword(Completion completion) {
    if (!services_.runSetPasswordFlow) {
        completion(false);
        return;
    }
    std::weak_ptr<int> alive = alive_;
    services_.runSetPasswordFlow([this, alive, completion = std::move(completion)](bool success) {
        if (!alive.lock()) {
            return;
        }
        if (success) {
            hasAppPassword_.set(true);
            appPasswordMissing_.set(false);
        }
        completion(success);
    });
}

void SettingsStore::clearPassword(Completion completion) {
    authenticateThen(
        "auth.reason.clearPassword"_key, [this, completion = std::move(completion)](bool success) {
            bool removed =
                success && (!services_.removeAppPassword || services_.removeAppPassword());
            if (removed) {
                hasAppPassword_.set(false);
                appPasswordMissing_.set(false);
            }
            completion(removed);
        });
}

}  // namespace nimbrel
