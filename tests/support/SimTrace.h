#pragma once
// winamp-sim's trace (--trace FILE), read back: what each program sent and posted, in order.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace testsupport {

// One trace line: "ms send msg wParam lParam answer" or "ms post msg wParam lParam".
struct TraceLine {
    QByteArray Text;
    bool Posted = false;
    QByteArray Call;  // "msg wParam lParam"
    qint64 Answer = 0;
};

// The posts in order, and the sends split at them: sends[i] holds those after i posts.
struct Trace {
    QByteArrayList posts;
    QList<QList<TraceLine>> sends{{}};
    explicit Trace(const QString& path) {
        QFile file(path);
        for (const QByteArray& text :
             file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList()) {
            const QList<QByteArray> f = text.split(' ');
            if (f.size() < 5) {
                continue;
            }
            const TraceLine l{text, f[1] == "post", f[2] + ' ' + f[3] + ' ' + f[4],
                              f.value(5).toLongLong()};
            l.Posted ? (posts.append(l.Call), sends.append(QList<TraceLine>()))
                     : sends.last().append(l);
        }
    }
};

}  // namespace testsupport
