// Opens windows of another application on an X display, and photographs the display: what the
// X11 tests and the demonstration need around the program.
//
//   nimbrel-x11-tool window TITLE [--class INSTANCE,CLASS] [--type TYPE] [--geometry WxH+X+Y]
//       opens one window and keeps it until the process is ended;
//   nimbrel-x11-tool screenshot FILE.png
//       writes what the root window shows.
#include <xcb/xcb.h>

#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <QtCore/QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class DemoWindow final : public QWidget {
  public:
    explicit DemoWindow(QString title) : title_(std::move(title)) { setWindowTitle(title_); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // A colour of its own for each title, so screenshots tell the windows apart.
        auto hue = static_cast<int>(qHash(title_) % 360);
        painter.fillRect(rect(), QColor::fromHsv(hue, 90, 235));
        QFont font = painter.font();
        font.setPointSizeF(font.pointSizeF() * 2);
        painter.setFont(font);
        painter.setPen(QColor(30, 30, 30));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, title_);
    }

  private:
    QString title_;
};

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

int usage() {
    std::fprintf(stderr,
                 "usage: nimbrel-x11-tool window TITLE [--class INSTANCE,CLASS] [--type TYPE] "
                 "[--geometry WxH+X+Y]\n       nimbrel-x11-tool screenshot FILE.png\n");
    return 2;
}

int openWindow(const QStringList& args) {
    if (args.size() < 3) {
        return usage();
    }
    DemoWindow window(args[2]);
    QString instance = "demo";
    QString className = "Demo";
    QString type;
    QRect geometry(100, 100, 480, 320);
    for (int i = 3; i + 1 < args.size(); i += 2) {
        if (args[i] == "--class") {
            auto parts = args[i + 1].split(',');
            instance = parts.value(0);
            className = parts.value(1, instance);
        } else if (args[i] == "--type") {
            type = args[i + 1];
        } else if (args[i] == "--geometry") {
            QRegularExpression form("^(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)$");
            auto match = form.match(args[i + 1]);
            if (!match.hasMatch()) {
                return usage();
            }
            geometry = QRect(match.captured(3).toInt(), match.captured(4).toInt(),
                             match.captured(1).toInt(), match.captured(2).toInt());
        } else {
            return usage();
        }
    }
    window.setGeometry(geometry);
    // Qt names every window after the process; a test wants the class it asked for.
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    auto id = static_cast<xcb_window_t>(window.winId());
    QByteArray wmClass = instance.toUtf8() + '\0' + className.toUtf8() + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(wmClass.size()), wmClass.constData());
    if (!type.isEmpty()) {
        xcb_atom_t value = atom(c, type.toUtf8().constData());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &value);
    }
    xcb_flush(c);
    window.show();
    // The window's id on standard output tells a test which window is this one.
    std::printf("0x%x\n", id);
    std::fflush(stdout);
    return QApplication::exec();
}

int screenshot(const QStringList& args) {
    if (args.size() != 3) {
        return usage();
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !screen->grabWindow(0).save(args[2], "PNG")) {
        std::fprintf(stderr, "nimbrel-x11-tool: cannot write %s\n", args[2].toUtf8().constData());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QStringList args = QApplication::arguments();
    if (args.size() >= 2 && args[1] == "window") {
        return openWindow(args);
    }
    if (args.size() >= 2 && args[1] == "screenshot") {
        return screenshot(args);
    }
    return usage();
}
