#pragma once
#include <QObject>
#include <QPoint>
#include <optional>

class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace lyrics {
class LyricsPane;
}

namespace player {

class Session;

// The player's two lines over the desktop: a window without frame or background, above all
// others, its letters outlined so they read over any wallpaper or video. Unlocked it shows a
// faint backing and moves where it is dragged; locked, clicks go through it to what lies
// beneath, and only its handle (and the tray icon, where the desktop has a tray) take a
// click, which asks to unlock it. Where it was dragged is kept in cantorix.conf.
class Overlay : public QObject {
    Q_OBJECT
  public:
    // Shows the lines of session.
    Overlay(const Session& session, QObject* parent);
    ~Overlay() override;

    lyrics::LyricsPane* Pane() const { return pane; }
    QWidget* Window() const { return window; }
    QWidget* Handle() const { return handle; }
    // Where the overlay shows: at place when that is on a screen, else low in the middle of
    // the main screen.
    void Place(const std::optional<QPoint>& place);

  public slots:
    void SetShown(bool shown);
    void SetLocked(bool locked);

  signals:
    void UnlockWanted();

  private:
    void Show();
    void KeepPlace();

    QWidget* window;
    lyrics::LyricsPane* pane;
    QWidget* handle;
    QSystemTrayIcon* tray = nullptr;
    QTimer* tmrPlace;
    bool shown = false;
    bool locked = false;
};

}  // namespace player
