#pragma once
// What travels between a client and a window served over a local socket, and where those
// sockets live. Private to the platform library and its tests.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "Win32.h"

namespace platform::wire {

// Every frame has the same size, so a reader never has to guess where the next one starts.
// Layout, little-endian: magic, kind, sequence, msg (4 bytes each), wParam, lParam (8 each).
// An answer carries the sequence of the send it answers and the result in lParam.
constexpr std::uint32_t Magic = 0x31575843;  // "CXW1"
constexpr std::size_t FrameSize = 32;

// The most of its answers a client may leave unread. Well-behaved clients read each answer
// before they send again, so only a client that sends and never reads gets near it; it is
// dropped there, and the window keeps no more for it than this.
constexpr qint64 MaxUnreadAnswerBytes = qint64(1) << 20;

enum class FrameKind : std::uint32_t { Send = 1, Post = 2, Answer = 3 };

struct Frame {
    FrameKind Kind = FrameKind::Post;
    std::uint32_t Seq = 0;
    std::uint32_t Msg = 0;
    std::uint64_t WParam = 0;
    std::int64_t LParam = 0;
};

void Encode(const Frame& frame, unsigned char* out);
QByteArray Encode(const Frame& frame);
// nullopt for a wrong magic number or an unknown kind.
std::optional<Frame> Decode(const unsigned char* in);

// "<runtime folder>/h<handle>", or empty when there is no usable runtime folder.
QString SocketPath(HWND window);
// The entry that names the window currently serving className: "<runtime folder>/c-<hex>".
QString ClassEntryPath(const QByteArray& className);
// The handle named by a class entry's target ("h<digits>"), or 0.
HWND HandleFromEntryTarget(const QByteArray& target);
QByteArray EntryTarget(HWND window);

}  // namespace platform::wire
