#include "platform/x11/qt/QtPanels.h"

#include <QtCore/QAbstractNativeEventFilter>
#include <QtCore/QCoreApplication>
#include <QtCore/QVariantAnimation>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QTextLayout>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "platform/x11/ClientWindows.h"
#include "platform/x11/VirtualKeys.h"
#include "platform/x11/qt/QtTextMetrics.h"

namespace nimbrel::x11 {
namespace {

constexpr std::uint32_t kEveryDesktop = 0xFFFFFFFF;
constexpr std::uint32_t kSourcePager = 2;

QColor qColor(const Color& color, bool opaque) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue),
                            opaque ? 1.0F : static_cast<float>(color.alpha));
}

// A dark heads-up plate: light text on it reads on any desktop behind.
const QColor kPlate = QColor::fromRgbF(0.09F, 0.09F, 0.10F, 0.84F);
const QColor kPrimaryText = QColor::fromRgbF(1.0F, 1.0F, 1.0F, 1.0F);
const QColor kSecondaryText = QColor::fromRgbF(1.0F, 1.0F, 1.0F, 0.68F);

void drawText(QPainter& painter, const PanelText& text) {
    if (text.text.empty()) {
        return;
    }
    QTextLayout layout;
    // Laid out again at the measured width, the lines break where the caller measured them.
    QtTextMetrics::layOut(layout, text.text, text.font, text.frame.width);
    painter.setPen(text.secondary ? kSecondaryText : kPrimaryText);
    layout.draw(&painter, QPointF(text.frame.x, text.frame.y));
}

int rounded(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

// Watches the root's children for the unmanaged panels: a window mapped or raised later would
// cover them, and no manager puts them back. Qt reads every event of the connection; this only
// looks.
class PanelStacking final : public QAbstractNativeEventFilter {
  public:
    explicit PanelStacking(Connection& connection) : connection_(connection) {
        xcb_connection_t* c = connection.get();
        // Added to what Qt and the other services asked of the root, not in place of it.
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            c, xcb_get_window_attributes(c, connection.root()), nullptr));
        if (attributes) {
            const std::uint32_t mask[] = {attributes->your_event_mask |
                                          XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
            xcb_change_window_attributes(c, connection.root(), XCB_CW_EVENT_MASK, mask);
            connection.flush();
        }
        if (auto* application = QCoreApplication::instance()) {
            application->installNativeEventFilter(this);
        }
    }
    ~PanelStacking() override {
        if (auto* application = QCoreApplication::instance()) {
            application->removeNativeEventFilter(this);
        }
    }
    PanelStacking(const PanelStacking&) = delete;
    PanelStacking& operator=(const PanelStacking&) = delete;

    void add(QtPanel* panel) { panels_.insert(panel); }
    void remove(QtPanel* panel) { panels_.erase(panel); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || panels_.empty()) {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        xcb_window_t moved = XCB_WINDOW_NONE;
        switch (event->response_type & 0x7f) {
            case XCB_CONFIGURE_NOTIFY: {
                const auto* configure =
                    reinterpret_cast<const xcb_configure_notify_event_t*>(event);
                if (configure->event == connection_.root()) {
                    moved = configure->window;
                }
                break;
            }
            case XCB_MAP_NOTIFY: {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
                if (map->event == connection_.root()) {
                    moved = map->window;
                }
                break;
            }
            default:
                break;
        }
        // The panels' own moves say nothing new, and answering them would never end.
        if (moved == XCB_WINDOW_NONE ||
            std::any_of(panels_.begin(), panels_.end(),
                        [&](QtPanel* panel) { return panel->window() == moved; })) {
            return false;
        }
        // Bottom level first, so that the guard ends above the notices.
        for (PanelLevel level :
             {PanelLevel::normal, PanelLevel::statusBar, PanelLevel::screenSaver}) {
            for (QtPanel* panel : panels_) {
                if (panel->level() == level) {
                    panel->restack();
                }
            }
        }
        return false;
    }

  private:
    Connection& connection_;
    std::set<QtPanel*> panels_;
};

// The Qt window that shows a panel. Its events reach the panel only while the panel exists.
class QtPanel::Surface final : public QWidget {
  public:
    explicit Surface(Qt::WindowFlags flags) : QWidget(nullptr, flags) {}

    PanelSpec description;
    PanelContent content;
    double contentHeight = 0;
    std::function<void(PanelMouseAction, Point)> mouse;
    std::function<bool(std::uint16_t)> key;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (!description.opaque) {
            // A translucent window starts from undefined pixels, not from the desktop.
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(rect(), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        if (description.opaque || description.background.alpha > 0) {
            painter.fillRect(rect(), qColor(description.background, description.opaque));
        }
        if (const auto* notice = std::get_if<NoticeContent>(&content)) {
            QPainterPath plate;
            plate.addRoundedRect(QRectF(0, 0, notice->size.width, notice->size.height),
                                 notice->cornerRadius, notice->cornerRadius);
            painter.fillPath(plate, kPlate);
            drawText(painter, notice->title);
            drawText(painter, notice->detail);
        }
    }

    void mousePressEvent(QMouseEvent* event) override { report(PanelMouseAction::down, *event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        // Without a pressed button this is a hover, which panels do not report.
        if (event->buttons() != Qt::NoButton) {
            report(PanelMouseAction::drag, *event);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override { report(PanelMouseAction::up, *event); }

    void keyPressEvent(QKeyEvent* event) override {
        auto code = virtualKeyFor(static_cast<xcb_keycode_t>(event->nativeScanCode()));
        auto handler = key;  // the handler may end the panel
        if (handler && code && handler(static_cast<std::uint16_t>(*code))) {
            event->accept();
            return;
        }
        QWidget::keyPressEvent(event);
    }

  private:
    void report(PanelMouseAction action, const QMouseEvent& event) {
        if (!mouse) {
            return;
        }
        // Content coordinates have their origin at the bottom-left corner.
        QPointF at = event.position();
        auto handler = mouse;  // the handler may replace itself
        handler(action, Point{at.x(), contentHeight - at.y()});
    }
};

QtPanel::QtPanel(Connection& connection, X11Screens& screens, const PanelSpec& description,
                 MainLoop& loop, std::shared_ptr<PanelStacking> stacking)
    : connection_(connection),
      screens_(screens),
      description_(description),
      loop_(loop),
      stacking_(std::move(stacking)) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    if (!description.takesFocus) {
        flags |= Qt::WindowDoesNotAcceptFocus;
    }
    if (description.passesClicks) {
        flags |= Qt::WindowTransparentForInput;
    }
    // A manager's frame around a panel would take the clicks the panel lets through, and no
    // manager's layer stands above an unmanaged window raised last.
    managed_ = description.level == PanelLevel::statusBar && !description.passesClicks;
    if (managed_) {
        flags |= Qt::WindowStaysOnTopHint;
    } else {
        flags |= Qt::X11BypassWindowManagerHint;
    }
    surface_ = new Surface(flags);
    surface_->description = description;
    // Both must be known before the native window exists: they choose its visual and hints.
    surface_->setAttribute(Qt::WA_TranslucentBackground, !description.opaque);
    surface_->setAttribute(Qt::WA_ShowWithoutActivating, !description.takesFocus);
    surface_->setAttribute(Qt::WA_X11DoNotAcceptFocus, !description.takesFocus);
    surface_->setAttribute(Qt::WA_QuitOnClose, false);
    surface_->setFocusPolicy(description.takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    surface_->setGeometry(0, 0, 1, 1);
    surface_->winId();
    if (!description.takesFocus) {
        refuseFocusOffers();
    }
    if (stacking_ && !managed_) {
        stacking_->add(this);
    }
}

void QtPanel::refuseFocusOffers() {
    // Without the input hint a manager still offers the focus to a window that takes part in
    // WM_TAKE_FOCUS, and marks it active when clicked; without both it leaves the window alone.
    xcb_atom_t protocols = connection_.atom("WM_PROTOCOLS");
    xcb_atom_t takeFocus = connection_.atom("WM_TAKE_FOCUS");
    auto kept = connection_.cardinals(window(), protocols, XCB_ATOM_ATOM);
    std::erase(kept, takeFocus);
    xcb_change_property(connection_.get(), XCB_PROP_MODE_REPLACE, window(), protocols,
                        XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(kept.size()), kept.data());
}

QtPanel::~QtPanel() {
    if (stacking_) {
        stacking_->remove(this);
    }
    endFadeSilently();
    surface_->mouse = nullptr;
    surface_->key = nullptr;
    surface_->hide();
    surface_->deleteLater();
    connection_.flush();
}

xcb_window_t QtPanel::window() const {
    return static_cast<xcb_window_t>(surface_->winId());
}

void QtPanel::setContent(PanelContent content) {
    surface_->content = std::move(content);
    surface_->update();
}

void QtPanel::setFrame(const Rect& frame, bool display) {
    frame_ = frame;
    Rect root = screens_.layout().fromScreenSpace(frame);
    // X windows have whole pixels and at least one of them each way.
    int left = rounded(root.x);
    int top = rounded(root.y);
    int width = std::max(1, rounded(root.maxX()) - left);
    int height = std::max(1, rounded(root.maxY()) - top);
    surface_->contentHeight = frame.height;
    surface_->setGeometry(left, top, width, height);
    if (display && surface_->isVisible()) {
        surface_->repaint();
    } else {
        surface_->update();
    }
}

void QtPanel::setAlpha(double alpha) {
    endFade();
    applyAlpha(std::clamp(alpha, 0.0, 1.0));
}

void QtPanel::applyAlpha(double alpha) {
    alpha_ = alpha;
    // The manager or a compositor blends the window; without one only the value changes.
    surface_->setWindowOpacity(alpha);
}

void QtPanel::animateAlpha(double alpha, double seconds, std::function<void()> completion) {
    endFade();
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (!(seconds > 0) || alpha == alpha_) {
        applyAlpha(alpha);
        complete(std::move(completion));
        return;
    }
    fade_ = new QVariantAnimation();
    fade_->setStartValue(alpha_);
    fade_->setEndValue(alpha);
    fade_->setDuration(static_cast<int>(std::min(std::ceil(seconds * 1000.0), 2147483647.0)));
    fadeCompletion_ = std::move(completion);
    QObject::connect(fade_, &QVariantAnimation::valueChanged, &context_,
                     [this](const QVariant& value) { applyAlpha(value.toDouble()); });
    QObject::connect(fade_, &QVariantAnimation::finished, &context_, [this, alpha] {
        applyAlpha(alpha);
        fadeEnded();
    });
    fade_->start();
}

void QtPanel::endFade() {
    if (fade_ == nullptr) {
        return;
    }
    auto completion = std::exchange(fadeCompletion_, nullptr);
    endFadeSilently();
    complete(std::move(completion));
}

void QtPanel::endFadeSilently() {
    if (fade_ == nullptr) {
        return;
    }
    QVariantAnimation* fade = std::exchange(fade_, nullptr);
    fadeCompletion_ = nullptr;
    // Its signals must not reach this panel again, and it may be the sender of the current one.
    QObject::disconnect(fade, nullptr, &context_, nullptr);
    fade->stop();
    fade->deleteLater();
}

void QtPanel::fadeEnded() {
    auto completion = std::exchange(fadeCompletion_, nullptr);
    endFadeSilently();
    complete(std::move(completion));
}

void QtPanel::complete(std::function<void()> completion) {
    if (!completion) {
        return;
    }
    loop_.post(guard_.wrap(std::move(completion)));
}

void QtPanel::prepareToMap() {
    if (!managed_ || surface_->isVisible()) {
        return;
    }
    // Qt keeps marks it does not manage when it writes the window's state before mapping.
    xcb_connection_t* c = connection_.get();
    xcb_window_t w = window();
    std::vector<xcb_atom_t> states = {connection_.atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                      connection_.atom("_NET_WM_STATE_SKIP_PAGER")};
    if (description_.onEveryWorkspace) {
        states.push_back(connection_.atom("_NET_WM_STATE_STICKY"));
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, connection_.atom("_NET_WM_DESKTOP"),
                            XCB_ATOM_CARDINAL, 32, 1, &kEveryDesktop);
    }
    auto present = connection_.cardinals(w, connection_.atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    for (xcb_atom_t state : present) {
        if (std::find(states.begin(), states.end(), state) == states.end()) {
            states.push_back(state);
        }
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, connection_.atom("_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(states.size()),
                        states.data());
}

void QtPanel::show() {
    bool mapping = managed_ && !surface_->isVisible();
    prepareToMap();
    surface_->show();
    if (mapping) {
        askForMarks();
    }
}

void QtPanel::askForMarks() {
    // A manager that was still withdrawing the window from its last showing may have cleared
    // the marks written before mapping; asked again once mapped, it sets them on a managed one.
    xcb_connection_t* c = connection_.get();
    auto send = [&](std::string_view type, std::array<std::uint32_t, 4> data) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window();
        message.type = connection_.atom(type);
        std::copy(data.begin(), data.end(), message.data.data32);
        xcb_send_event(c, 0, connection_.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
    };
    constexpr std::uint32_t kAdd = 1;
    send("_NET_WM_STATE", {kAdd, connection_.atom("_NET_WM_STATE_SKIP_TASKBAR"),
                           connection_.atom("_NET_WM_STATE_SKIP_PAGER"), kSourcePager});
    if (description_.onEveryWorkspace) {
        send("_NET_WM_STATE",
             {kAdd, connection_.atom("_NET_WM_STATE_STICKY"), XCB_ATOM_NONE, kSourcePager});
        send("_NET_WM_DESKTOP", {kEveryDesktop, kSourcePager, 0, 0});
    }
    connection_.flush();
}

void QtPanel::orderFrontRegardless() {
    above_ = XCB_WINDOW_NONE;
    show();
    surface_->raise();
    connection_.flush();
}

bool QtPanel::orderAbove(WindowNumber window) {
    xcb_connection_t* c = connection_.get();
    ClientWindows clients(connection_);
    xcb_window_t own = this->window();
    if (window == XCB_WINDOW_NONE || window == connection_.root() || window == own) {
        return false;
    }
    xcb_window_t frame = clients.topLevelOf(window);
    if (frame == XCB_WINDOW_NONE) {
        return false;
    }
    // Qt raises a window as it maps it, so the panel is stacked once it is mapped.
    show();
    if (managed_) {
        // A managed window's stacking is the manager's: ask it.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = own;
        message.type = connection_.atom("_NET_RESTACK_WINDOW");
        message.data.data32[0] = kSourcePager;
        message.data.data32[1] = window;
        message.data.data32[2] = XCB_STACK_MODE_ABOVE;
        xcb_send_event(c, 0, connection_.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        connection_.flush();
        return true;
    }
    const std::uint32_t values[] = {frame, XCB_STACK_MODE_ABOVE};
    Reply<xcb_generic_error_t> error(xcb_request_check(
        c, xcb_configure_window_checked(
               c, own, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values)));
    // The window may have gone between the look-up and the request.
    above_ = error == nullptr ? frame : xcb_window_t{XCB_WINDOW_NONE};
    return error == nullptr;
}

void QtPanel::restack() {
    if (managed_ || !surface_->isVisible()) {
        return;
    }
    xcb_connection_t* c = connection_.get();
    xcb_void_cookie_t request;
    if (above_ != XCB_WINDOW_NONE) {
        const std::uint32_t values[] = {above_, XCB_STACK_MODE_ABOVE};
        request = xcb_configure_window_checked(
            c, window(), XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    } else if (description_.level != PanelLevel::normal) {
        const std::uint32_t values[] = {XCB_STACK_MODE_ABOVE};
        request = xcb_configure_window_checked(c, window(), XCB_CONFIG_WINDOW_STACK_MODE, values);
    } else {
        return;
    }
    // A window that has gone since is no fault of the panel's; nobody waits for the answer.
    xcb_discard_reply(c, request.sequence);
}

void QtPanel::orderOut() {
    surface_->hide();
    connection_.flush();
}

bool QtPanel::isVisible() {
    return surface_->isVisible();
}

void QtPanel::makeKeyAndOrderFront() {
    orderFrontRegardless();
    if (!description_.takesFocus) {
        return;
    }
    surface_->activateWindow();
    surface_->setFocus(Qt::ActiveWindowFocusReason);
    if (!managed_) {
        // No manager hands an unmanaged window the focus, and Qt asks for it with the time of
        // the last event it read, which the server refuses when a manager has moved the focus
        // since. The window is mapped by now: Qt's request went first on the same connection.
        xcb_connection_t* c = connection_.get();
        xcb_void_cookie_t request = xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_POINTER_ROOT,
                                                                window(), XCB_CURRENT_TIME);
        xcb_discard_reply(c, request.sequence);
        connection_.flush();
    }
}

void QtPanel::setMouseHandler(std::function<void(PanelMouseAction, Point)> handler) {
    surface_->mouse = std::move(handler);
}

void QtPanel::setKeyHandler(std::function<bool(std::uint16_t keyCode)> handler) {
    surface_->key = std::move(handler);
}

QtPanels::QtPanels(Connection& connection, X11Screens& screens, MainLoop& loop)
    : connection_(connection),
      screens_(screens),
      loop_(loop),
      stacking_(std::make_shared<PanelStacking>(connection)) {}

QtPanels::~QtPanels() = default;

std::unique_ptr<Panel> QtPanels::makePanel(const PanelSpec& description) {
    auto panel = std::make_unique<QtPanel>(connection_, screens_, description, loop_, stacking_);
    if (panel->window() == XCB_WINDOW_NONE) {
        return nullptr;
    }
    return panel;
}

}  // namespace nimbrel::x11
