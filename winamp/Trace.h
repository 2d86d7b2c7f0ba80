#pragma once
#include <QFile>
#include <QString>

#include "platform/LocalWindow.h"

namespace winamp {

// The --trace file: one line per message received, appended and flushed at once so a
// script can read it while the program runs:
//   <ms since start> send <msg> <wParam> <lParam> <answer>
//   <ms since start> post <msg> <wParam> <lParam>
class Trace {
  public:
    bool Open(const QString& path, QString* error);
    bool IsOpen() const { return file.isOpen(); }
    void Write(qint64 elapsedMs, const platform::Message& message, platform::LRESULT answer);

    static QByteArray Line(qint64 elapsedMs, const platform::Message& message,
                           platform::LRESULT answer);

  private:
    QFile file;
};

}  // namespace winamp
