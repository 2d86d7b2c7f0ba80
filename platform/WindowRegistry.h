#pragma once
// The windows this process serves. FindWindowA looks here first, and messages to a
// window of this process are handed to its handler directly instead of going through a
// socket (which would deadlock a send made on the window's own thread).
#include <QByteArray>
#include <QThread>
#include <memory>
#include <optional>

#include "LocalWindow.h"

namespace platform::registry {

struct Entry {
    HWND handle = 0;
    QByteArray className;
    std::shared_ptr<const MessageHandler> handler;
    // The thread whose calls are delivered directly; null means every thread (a window of
    // process scope). Calls from other threads go through the window's socket.
    QThread* thread = nullptr;
};

// A handle never issued before in this process; notTaken() rules out handles in use
// elsewhere (for example a socket file of another process).
HWND NewHandle(bool (*notTaken)(HWND));

void Add(const Entry& entry);
void Remove(HWND handle);
enum class Route {
    Elsewhere,  // not a window of this process
    Direct,     // call the handler here and now
    Socket,     // a window of this process served on another thread
    Dead,       // a window of this process that has been closed
};
// How a message to handle from the current thread is delivered; entry is filled for Direct.
Route Lookup(HWND handle, Entry* entry);
// The most recently registered window of className, or 0.
HWND FindClass(const QByteArray& className);

}  // namespace platform::registry
