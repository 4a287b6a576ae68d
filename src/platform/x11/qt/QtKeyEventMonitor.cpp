#include "platform/x11/qt/QtKeyEventMonitor.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>

#include <vector>

#include "platform/x11/VirtualKeys.h"

namespace nimbrel::x11 {
namespace {

EventModifierFlags modifiersOf(const QKeyEvent& key) {
    Qt::KeyboardModifiers held = key.modifiers();
    EventModifierFlags flags = 0;
    // Qt names Super "Meta" on X11; the program's Command key is Super.
    const std::pair<Qt::KeyboardModifier, EventModifier> table[] = {
        {Qt::ShiftModifier, EventModifier::shift},
        {Qt::ControlModifier, EventModifier::control},
        {Qt::AltModifier, EventModifier::option},
        {Qt::MetaModifier, EventModifier::command},
        {Qt::KeypadModifier, EventModifier::numericPad},
    };
    for (const auto& [qt, ours] : table) {
        if (held.testFlag(qt)) {
            flags |= static_cast<EventModifierFlags>(ours);
        }
    }
    // Lock is bit 1 of the X state Qt keeps as the native modifiers.
    if ((key.nativeModifiers() & 0x2U) != 0) {
        flags |= static_cast<EventModifierFlags>(EventModifier::capsLock);
    }
    return flags;
}

}  // namespace

QtKeyEventMonitor::QtKeyEventMonitor(const QtMainLoop& loop) : loop_(loop) {
    // Without an application there are no windows, and no keys to watch.
    if (auto* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

QtKeyEventMonitor::~QtKeyEventMonitor() {
    if (auto* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
}

namespace {
constexpr const char* kKeepsItsKeys = "nimbrelKeepsItsKeys";
}  // namespace

void QtKeyEventMonitor::keepKeysOf(QWidget& window) {
    // Keys are seen on the toolkit's window that holds the widget; asking for its id makes it.
    (void)window.winId();
    if (QWindow* handle = window.windowHandle()) {
        handle->setProperty(kKeepsItsKeys, true);
    }
}

Subscription QtKeyEventMonitor::addLocalKeyDownMonitor(Handler handler) {
    std::uint64_t id = nextId_++;
    handlers_.emplace(id, std::move(handler));
    return Subscription([this, id] { handlers_.erase(id); });
}

bool QtKeyEventMonitor::eventFilter(QObject* watched, QEvent* event) {
    // A key reaches the window first, then each widget that passes it up: only the window's copy
    // counts, or one press would be seen several times.
    if (event->type() != QEvent::KeyPress || handlers_.empty() || !watched->isWindowType() ||
        loop_.isHeld() || watched->property(kKeepsItsKeys).toBool()) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    auto code = virtualKeyFor(static_cast<xcb_keycode_t>(key.nativeScanCode()));
    if (!code) {
        return false;
    }
    KeyEvent ours{*code, modifiersOf(key), key.isAutoRepeat()};
    std::vector<std::uint64_t> ids;
    for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it) {
        ids.push_back(it->first);
    }
    for (auto id : ids) {
        auto found = handlers_.find(id);
        if (found == handlers_.end()) {
            continue;
        }
        auto handler = found->second;
        if (handler(ours)) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel::x11
