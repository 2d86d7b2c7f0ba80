#pragma once
// winamp-sim's trace (--trace FILE) read back: what was sent and posted, in order.
#include <QByteArray>
#include <QList>
#include <QString>

#include "Files.h"

namespace testsupport {

// A send from a trace line "ms send msg wParam lParam answer".
struct TraceLine {
    QByteArray Call;  // "msg wParam lParam"
    qint64 Answer = 0;
};

// The posts ("ms post msg wParam lParam") in order; sends[i] holds the sends after i posts.
struct Trace {
    QByteArrayList posts;
    QList<QList<TraceLine>> sends{{}};
    explicit Trace(const QString& path) {
        for (const QByteArray& text : ReadBytes(path).split('\n')) {
            const QList<QByteArray> f = text.split(' ');
            const QByteArray call = f.mid(2, 3).join(' ');
            if (f.size() >= 5 && f[1] == "post") {
                posts.append(call);
                sends.append(QList<TraceLine>());
            } else if (f.size() >= 5 && f[1] == "send") {
                sends.last().append({call, f.value(5).toLongLong()});
            }
        }
    }
};

}  // namespace testsupport
