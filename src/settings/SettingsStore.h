#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/KeyEventMonitor.h"
#include "platform/KeyboardLayout.h"
#include "platform/LifetimeGuard.h"
#include "platform/Localizer.h"
#include "platform/Sound.h"
#include "platform/Subscription.h"
#include "platform/UserDefaults.h"
#include "settings/AllowedApp.h"
#include "settings/BorderColor.h"
#include "settings/BorderIndicatorStyle.h"
#include "settings/HotCorner.h"
#include "settings/KeyCombo.h"
#include "settings/LiveWindow.h"
#include "settings/Persisted.h"
#include "settings/Published.h"
#include "settings/PublishedSettings.h"
#include "settings/SavedCover.h"
#include "settings/ShortcutTarget.h"
#include "settings/WindowBinding.h"

namespace nimbrel {

// The one model of every user setting. Each change is published, saved at once as the whole
// document, and announced to the delegate through the callback of its kind. It also carries the
// transient state of recording a shortcut and the shortcuts the system refused.
class SettingsStore {
  public:
    using Completion = std::function<void(bool success)>;
    // The one gate of every protected change: the completion runs on the main loop.
    using Authenticate = std::function<void(const std::string& reason, Completion completion)>;

    static constexpr const char* kDefaultsKey = "settings.v1";
    // Where a stored document that cannot be read is kept before the first save replaces it.
    static constexpr const char* kUnreadableKey = "settings.v1.unreadable";
    static constexpr std::array<std::uint32_t, 3> kModifierPresets{0x1100, 0x1300, 0x1900};

    struct Services {
        UserDefaults& defaults;
        const Localizer& strings;
        Sound& sound;
        KeyEventMonitor& keyMonitor;
        KeyboardLayout& keyboardLayout;
        Authenticate authenticate = nullptr;
        // The application password's state at start-up.
        bool hasAppPassword = false;
        bool appPasswordMissing = false;
        // The interactive set-or-change password flow; its completion tells whether one was set.
        std::function<void(Completion)> runSetPasswordFlow = nullptr;
        // Answers false when the password could not be removed.
        std::function<bool()> removeAppPassword = nullptr;
        // Receives the notice screen (identifier, display name) at load and on every change.
        std::function<void(const std::string& id, const std::string& name)> screenChoiceChanged =
            nullptr;
        // Identifiers of new bindings and saved covers; random when not given.
        std::function<Uuid()> makeId = nullptr;
    };

    explicit SettingsStore(Services services);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore();

    // Installed once by the delegate; none of them is called before that.
    std::function<void()> onShortcutsChanged;
    std::function<void()> onTriggersChanged;
    std::function<void()> onBordersChanged;
    std::function<void()> onDockIconChanged;

    // Transient state, never stored.
    const Published<std::optional<ShortcutTarget>>& recording() const { return recording_; }
    const Published<std::set<ShortcutTarget>>& unavailable() const { return unavailable_; }
    const Published<std::optional<std::string>>& notice() const { return notice_; }
    const Published<bool>& hasAppPassword() const { return hasAppPassword_; }
    const Published<bool>& appPasswordMissing() const { return appPasswordMissing_; }
    bool hasKeyMonitor() const { return keyMonitor_.isActive(); }

    // The property of every setting, named after its key: `useCover()`.
#define NIMBREL_SETTING_PROPERTY(Type, name, fallback, change, Rule) \
    const Published<Type>& name() const {                            \
        return values_.name;                                         \
    }
    NIMBREL_SETTINGS(NIMBREL_SETTING_PROPERTY)
#undef NIMBREL_SETTING_PROPERTY

    // The setter of the settings window, for every setting that is not `own`: a value its rule
    // refuses changes nothing; any other is corrected as the rule says, saved, and announced by
    // the callback of its kind.
    template <typename T, typename Rule, SettingChange Change>
    requires(Change != SettingChange::own) void set(const SettingKey<T, Rule, Change>& key,
                                                    std::type_identity_t<T> value) {
        if (!Rule::accepts(value)) {
            return;
        }
        (values_.*key.property).set(Rule::corrected(std::move(value)));
        save();
        announce(Change);
    }
    // Trimmed; an empty message is the localised default.
    void setCoverMessage(const std::string& message);
    // Both together; the screen is also handed on at once.
    void setScreenChoice(const std::string& id, const std::string& name);
    // Written by the delegate after each registration pass.
    void setUnavailable(std::set<ShortcutTarget> targets);
    void resetCoverMessage();
    void resetBorderAppearance();

    // Border colours as drawn: the stored text, or the system colour when it does not parse.
    SrgbColor normalBorderColor() const;
    SrgbColor lockedBorderColor() const;

    // Saved covers.
    std::optional<SavedCover> addSavedCover(const std::string& name,
                                            std::vector<SavedCover::Region> regions);
    std::string defaultCoverName(const std::vector<SavedCover::Region>& regions) const;
    void renameSavedCover(const Uuid& id, const std::string& name);
    void removeSavedCover(const Uuid& id);

    // The application password; neither touches the settings document.
    void setOrChangePassword(Completion completion);
    void clearPassword(Completion completion);

    // Writes the whole document. A document that cannot be encoded is not written, so the stored
    // one survives.
    void save();

    // Shortcuts.
    std::optional<KeyCombo> combo(const ShortcutTarget& target) const;
    std::optional<ShortcutTarget> conflictingTarget(const KeyCombo& combo) const;
    void assign(std::optional<KeyCombo> combo, const ShortcutTarget& target);
    std::string name(const ShortcutTarget& target) const;
    std::string displayText(const KeyCombo& combo) const;
    void startRecording(const ShortcutTarget& target);
    void stopRecording();
    void applyModifierPreset(std::uint32_t mask);
    std::optional<std::uint32_t> currentPresetModifiers() const;

    // Bindings and allowed applications.
    std::optional<WindowBinding> binding(const Uuid& id) const;
    // The first binding in list order that stands for the window.
    std::optional<WindowBinding> bindingMatching(const LiveWindow& window) const;
    bool isLocked(const ShortcutTarget& target) const;
    bool isAllowed(const LiveApp& app) const;
    // Answers the id of the binding that designates the window now, old or new.
    Uuid designate(const LiveWindow& window);
    bool addLockedBinding(const LiveWindow& window);
    void updateWindowNumber(const Uuid& id, WindowNumber number);
    void updateTitle(const Uuid& id, const std::string& title);
    void requestSetLocked(bool locked, const ShortcutTarget& target);
    void setLocked(bool locked, const ShortcutTarget& target);
    void toggleWholeApp(const Uuid& id);
    void requestRemoveBinding(const Uuid& id, Completion completion);
    void removeBinding(const Uuid& id);
    void removeMissing(const std::set<Uuid>& ids, Completion completion);
    void keepMissing(const std::set<Uuid>& ids);
    void addAllowedApp(const LiveApp& app);
    void removeAllowedApp(const std::string& id);

  private:
    void load();
    void publish(Persisted doc);
    Persisted snapshot() const;
    void authenticateThen(StringKey reason, std::function<void(bool)> then);
    static void call(const std::function<void()>& callback);
    void announce(SettingChange change);

    Published<std::optional<KeyCombo>>* fixedCombo(ShortcutTarget::Kind kind);
    const Published<std::optional<KeyCombo>>* fixedCombo(ShortcutTarget::Kind kind) const;
    bool handleRecordingKey(const KeyEvent& event);
    WindowBinding newBinding(const LiveWindow& window, bool locked);
    // Removes the bindings, ends a recording of one of them, saves and announces once.
    void removeBindings(const std::set<Uuid>& ids);
    // Edits the binding with `id` through `edit`; saves when it exists and `edit` says it changed.
    template <typename Edit>
    void editBinding(const Uuid& id, Edit edit);

    Services services_;
    // Lets completions and the key monitor find out that the store is gone.
    LifetimeGuard guard_;
    // The bytes of a stored document that could not be read, until they are kept aside.
    std::optional<std::string> unreadable_;
    Subscription keyMonitor_;

    PublishedSettings values_;
    Published<std::optional<ShortcutTarget>> recording_;
    Published<std::set<ShortcutTarget>> unavailable_;
    Published<std::optional<std::string>> notice_;
    Published<bool> hasAppPassword_;
    Published<bool> appPasswordMissing_;
};

}  // namespace nimbrel
