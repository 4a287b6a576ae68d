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
    publish(std::move(doc));
    hasAppPassword_.set(services_.hasAppPassword);
    appPasswordMissing_.set(services_.appPasswordMissing);
    if (services_.screenChoiceChanged) {
        services_.screenChoiceChanged(values_.screenChoice.get(), values_.screenChoiceName.get());
    }
}

void SettingsStore::publish(Persisted doc) {
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
    if (sameAsOther(doc.regionCoverCombo,
                    {doc.focusedCombo, doc.allCombo, doc.designateCombo, doc.focusModeCombo})) {
        doc.regionCoverCombo.reset();
    }
    if (sameAsOther(doc.regionClearCombo, {doc.focusedCombo, doc.allCombo, doc.designateCombo,
                                           doc.focusModeCombo, doc.regionCoverCombo})) {
        doc.regionClearCombo.reset();
    }
    if (doc.coverMessage.empty()) {
        doc.coverMessage = services_.strings.text("cover.label"_key);
    }
#define NIMBREL_PUBLISH(Type, name, fallback, change, Rule) values_.name.set(std::move(doc.name));
    NIMBREL_SETTINGS(NIMBREL_PUBLISH)
#undef NIMBREL_PUBLISH
}

Persisted SettingsStore::snapshot() const {
    Persisted doc;
#define NIMBREL_SNAPSHOT(Type, name, fallback, change, Rule) doc.name = values_.name.get();
    NIMBREL_SETTINGS(NIMBREL_SNAPSHOT)
#undef NIMBREL_SNAPSHOT
    // The default text is stored as empty so that it follows the user's language.
    if (doc.coverMessage == services_.strings.text("cover.label"_key)) {
        doc.coverMessage.clear();
    }
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

void SettingsStore::announce(SettingChange change) {
    switch (change) {
        case SettingChange::triggers:
            call(onTriggersChanged);
            break;
        case SettingChange::borders:
            call(onBordersChanged);
            break;
        case SettingChange::dockIcon:
            call(onDockIconChanged);
            break;
        case SettingChange::own:
        case SettingChange::plain:
            break;
    }
}

void SettingsStore::authenticateThen(StringKey reason, std::function<void(bool)> then) {
    if (!services_.authenticate) {
        then(false);
        return;
    }
    services_.authenticate(services_.strings.text(reason), guard_.wrap(std::move(then)));
}

void SettingsStore::setCoverMessage(const std::string& message) {
    std::string text = text::trimmed(message);
    values_.coverMessage.set(text.empty() ? services_.strings.text("cover.label"_key) : text);
    save();
}

void SettingsStore::setScreenChoice(const std::string& id, const std::string& name) {
    values_.screenChoice.set(id);
    values_.screenChoiceName.set(name);
    if (services_.screenChoiceChanged) {
        services_.screenChoiceChanged(id, name);
    }
    save();
}

void SettingsStore::setUnavailable(std::set<ShortcutTarget> targets) {
    unavailable_.set(std::move(targets));
}

void SettingsStore::resetCoverMessage() {
    values_.coverMessage.set(services_.strings.text("cover.label"_key));
    save();
}

void SettingsStore::resetBorderAppearance() {
    Persisted defaults;
    values_.borderColorNormalHex.set(defaults.borderColorNormalHex);
    values_.borderColorLockedHex.set(defaults.borderColorLockedHex);
    values_.borderOpacity.set(defaults.borderOpacity);
    values_.borderIndicatorStyle.set(defaults.borderIndicatorStyle);
    save();
    call(onBordersChanged);
}

SrgbColor SettingsStore::normalBorderColor() const {
    return bordercolor::fromHex(values_.borderColorNormalHex.get())
        .value_or(bordercolor::kSystemBlue);
}

SrgbColor SettingsStore::lockedBorderColor() const {
    return bordercolor::fromHex(values_.borderColorLockedHex.get())
        .value_or(bordercolor::kSystemRed);
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
    auto covers = values_.savedCovers.get();
    covers.push_back(cover);
    values_.savedCovers.set(std::move(covers));
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
    auto covers = values_.savedCovers.get();
    auto it = std::find_if(covers.begin(), covers.end(),
                           [&](const SavedCover& cover) { return cover.id == id; });
    if (it == covers.end()) {
        return;
    }
    it->name = trimmedName;
    values_.savedCovers.set(std::move(covers));
    save();
}

void SettingsStore::removeSavedCover(const Uuid& id) {
    auto covers = values_.savedCovers.get();
    if (std::erase_if(covers, [&](const SavedCover& cover) { return cover.id == id; }) == 0) {
        return;
    }
    values_.savedCovers.set(std::move(covers));
    save();
}

void SettingsStore::setOrChangePassword(Completion completion) {
    if (!services_.runSetPasswordFlow) {
        completion(false);
        return;
    }
    services_.runSetPasswordFlow(
        guard_.wrap([this, completion = std::move(completion)](bool success) {
            if (success) {
                hasAppPassword_.set(true);
                appPasswordMissing_.set(false);
            }
            completion(success);
        }));
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
