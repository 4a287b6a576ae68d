#include "DeepJson.h"
#include "StoreFixture.h"

namespace nimbrel::test {
namespace {

// A document nested a hundred thousand levels deep once overflowed the stack at every launch,
// before the kept-aside copy could be made; it is now one more unreadable document.
TEST_F(StoreFixture, AFarTooDeepDocumentIsUnreadableAndKeptAside) {
    const std::string deep = deeplyNestedDocument(100000);
    defaults.setData(SettingsStore::kDefaultsKey, deep);
    auto store = makeStore();
    EXPECT_EQ(store->focusedCombo().get(), kDefaultFocusedCombo);
    EXPECT_TRUE(store->bindings().get().empty());

    store->set(setting::useCover, true);
    EXPECT_EQ(defaults.data(SettingsStore::kUnreadableKey), deep);
    EXPECT_EQ(storedDocument()["useCover"], true);
}

}  // namespace
}  // namespace nimbrel::test
