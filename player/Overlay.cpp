#include "player/Overlay.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "lyrics/ConfFile.h"
#include "lyrics/LyricsPane.h"
#include "platform/Folders.h"
#include "player/Session.h"

namespace player {

namespace {

constexpr Qt::WindowFlags OverTheDesktop =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
constexpr int HandleSize = 18;
// The place is written once the window has rested this long, not on every step of a drag.
constexpr int KeepPlaceAfterMs = 300;

// The overlay's window: moved by dragging with the left button, a faint backing while it can
// be; moved() is told of every move a drag made.
class OverlayWindow : public QWidget {
  public:
    explicit OverlayWindow(std::function<void()> moved)
        : QWidget(nullptr, OverTheDesktop), moved(std::move(moved)) {
        setObjectName(QStringLiteral("frmOverlay"));
        setAttribute(Qt::WA_TranslucentBackground);
        // Closing the player's window ends the program, overlay or not.
        setAttribute(Qt::WA_QuitOnClose, false);
        setWindowTitle(QStringLiteral("Cantorix Overlay"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!windowFlags().testFlag(Qt::WindowTransparentForInput)) {
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QColor(255, 255, 255, 90));
            painter.setBrush(QColor(0, 0, 0, 60));
            painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        dragging = true;
        grabbedAt = event->globalPosition().toPoint() - pos();
        // The window manager moves it where it can (Wayland allows nothing else); else we do.
        systemMove = windowHandle() != nullptr && windowHandle()->startSystemMove();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragging && !systemMove && (event->buttons() & Qt::LeftButton)) {
            move(event->globalPosition().toPoint() - grabbedAt);
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { systemMove = false; }
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        if (dragging) {
            moved();
        }
    }

  private:
    std::function<void()> moved;
    // From the first press on: the moves before it are the program's, placing the window.
    bool dragging = false;
    QPoint grabbedAt;
    bool systemMove = false;
};

// A small padlock that takes the click the locked overlay lets through.
class LockHandle : public QWidget {
  public:
    explicit LockHandle(std::function<void()> clicked)
        : QWidget(nullptr, OverTheDesktop), clicked(std::move(clicked)) {
        setObjectName(QStringLiteral("cmdUnlockOverlay"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_QuitOnClose, false);
        setToolTip(QStringLiteral("Unlock the overlay"));
        setFixedSize(HandleSize, HandleSize);
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(QColor(0, 0, 0, 170));
        painter.drawRoundedRect(QRectF(0.75, 0.75, HandleSize - 1.5, HandleSize - 1.5), 4, 4);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(5, 8.5, 8, 6));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(6.5, 4, 5, 8), 0, 180 * 16);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            clicked();
        }
    }

  private:
    std::function<void()> clicked;
};

}  // namespace

Overlay::Overlay(const Session& session, QObject* parent)
    : QObject(parent),
      window(new OverlayWindow([this] { tmrPlace->start(); })),
      pane(new lyrics::LyricsPane(Qt::AlignCenter, window)),
      handle(new LockHandle([this] { emit UnlockWanted(); })),
      tmrPlace(new QTimer(this)) {
    pane->SetOutlined(true);
    connect(&session, &Session::CurrentLineChanged, pane, &lyrics::LyricsPane::ShowCurrent);
    connect(&session, &Session::NextLineChanged, pane, &lyrics::LyricsPane::ShowNext);
    window->setFixedSize(pane->size());
    tmrPlace->setSingleShot(true);
    tmrPlace->setInterval(KeepPlaceAfterMs);
    connect(tmrPlace, &QTimer::timeout, this, &Overlay::KeepPlace);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray = new QSystemTrayIcon(QGuiApplication::windowIcon(), this);
        tray->setToolTip(QStringLiteral("Cantorix Overlay: click to unlock"));
        connect(tray, &QSystemTrayIcon::activated, this, [this] { emit UnlockWanted(); });
    }
    Place(std::nullopt);
}

Overlay::~Overlay() {
    delete handle;
    delete window;
}

void Overlay::Place(const std::optional<QPoint>& place) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (place && QGuiApplication::screenAt(QRect(*place, window->size()).center()) != nullptr) {
        window->move(*place);
    } else if (screen != nullptr) {
        const QRect desk = screen->availableGeometry();
        window->move(desk.center().x() - window->width() / 2,
                     desk.bottom() - desk.height() / 8 - window->height());
    }
    handle->move(window->pos());
}

void Overlay::SetShown(bool show) {
    shown = show;
    Show();
}

void Overlay::SetLocked(bool lock) {
    locked = lock;
    window->setWindowFlag(Qt::WindowTransparentForInput, locked);
    Show();  // changing the flags hides the window
}

void Overlay::Show() {
    window->setVisible(shown);
    handle->move(window->pos());
    handle->setVisible(shown && locked);
    if (tray != nullptr) {
        tray->setVisible(shown && locked);
    }
}

void Overlay::KeepPlace() {
    handle->move(window->pos());
    lyrics::WriteOverlayPlace(platform::ConfFilePath(), window->pos());
}

}  // namespace player
