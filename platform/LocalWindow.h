#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "Win32.h"

namespace platform {

// One message as the serving window receives it.
struct Message {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    bool Posted;  // false for a send, whose answer is the handler's result
};

using MessageHandler = std::function<LRESULT(const Message&)>;

// Serves a window class so that FindWindowA, SendMessageA and PostMessageA reach the
// handler. Scope::Process registers the window inside this process only (tests); its
// sends and posts call the handler directly, in order. Scope::System makes it reachable
// from other processes of the same user through a socket in the private runtime folder;
// the handler then runs in this thread's Qt event loop. Every LocalWindow gets a fresh
// handle, so a handle of an earlier server is dead. Destroying it closes the window.
//
// A System window needs the application object and is created, served and destroyed on
// one thread that runs a Qt event loop. Messages to it from that same thread call the
// handler directly (as a Process window does); from other threads and processes they
// queue up and are handled in order, one connection at a time, by that event loop. A
// handler that runs a modal loop holds back the rest of its caller's messages until it
// returns. A connection that leaves more answers unread than wire::MaxUnreadAnswerBytes
// is dropped. On Windows only Process windows exist; a System window reports IsOpen() false.
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
// Why RuntimeFolder() is empty: the folder refused and the reason; empty when it is usable.
QString RuntimeFolderProblem();

}  // namespace platform
