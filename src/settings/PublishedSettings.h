#pragma once

#include "settings/Persisted.h"
#include "settings/Published.h"

namespace nimbrel {

// Every setting as the store publishes it; the store fills them from the document at load.
struct PublishedSettings {
#define NIMBREL_PUBLISHED_MEMBER(Type, name, fallback, change, Rule) Published<Type> name;
    NIMBREL_SETTINGS(NIMBREL_PUBLISHED_MEMBER)
#undef NIMBREL_PUBLISHED_MEMBER
};

// Names one setting to the store's setter, with its type, its rule and the way a change of it is
// announced.
template <typename T, typename Rule, SettingChange Change>
struct SettingKey {
    Published<T> PublishedSettings::*property;
};

// One key per setting: `store.set(setting::useCover, true)`.
namespace setting {
#define NIMBREL_SETTING_KEY(Type, name, fallback, change, Rule) \
    inline constexpr SettingKey<Type, Rule, SettingChange::change> name{&PublishedSettings::name};
NIMBREL_SETTINGS(NIMBREL_SETTING_KEY)
#undef NIMBREL_SETTING_KEY
}  // namespace setting

}  // namespace nimbrel
