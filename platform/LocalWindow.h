#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "Win32.h"

namespace platform {

// One message as the serving window receives it.
struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;  // false for a send, whose answer is the handler's result
};

using MessageHandler = std::function<LRESULT(const Message&)>;

// Serves a window class so that FindWindowA, SendMessageA and PostMessageA reach the
// handler. Scope::Process registers the window inside this process only (tests); its
// sends and posts call the handler directly, in order. Scope::System makes it reachable
// from other processes of the same user through a socket in the private runtime folder;
// the handler then runs in this thread's Qt event loop. Every LocalWindow gets a fresh
// handle, so a handle of an earlier server is dead. Destroying it closes the window.
class LocalWindow {
  public:
    enum class Scope { Process, System };

    LocalWindow(const QString& className, MessageHandler handler, Scope scope);
    ~LocalWindow();
    LocalWindow(const LocalWindow&) = delete;
    LocalWindow& operator=(const LocalWindow&) = delete;

    bool IsOpen() const;  // false when the window could not be created
    HWND Handle() const;  // 0 when not open
    QString ErrorString() const;

    class Impl;

  private:
    std::unique_ptr<Impl> impl;
};

// The private per-user folder that holds the sockets ($XDG_RUNTIME_DIR/cantorix, else
// /tmp/cantorix-<uid>), created with mode 0700.
QString RuntimeFolder();

}  // namespace platform
