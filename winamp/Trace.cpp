#include "winamp/Trace.h"

namespace winamp {

bool Trace::Open(const QString& path, QString* error) {
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error) {
            *error = QStringLiteral("cannot open trace file %1: %2").arg(path, file.errorString());
        }
        return false;
    }
    return true;
}

QByteArray Trace::Line(qint64 elapsedMs, const platform::Message& message,
                       platform::LRESULT answer) {
    QByteArray line = QByteArray::number(elapsedMs);
    line += message.Posted ? " post " : " send ";
    line += QByteArray::number(message.Msg) + ' ' + QByteArray::number(quint64(message.WParam)) +
            ' ' + QByteArray::number(qint64(message.LParam));
    if (!message.Posted) {
        line += ' ' + QByteArray::number(qint64(answer));
    }
    line += '\n';
    return line;
}

void Trace::Write(qint64 elapsedMs, const platform::Message& message, platform::LRESULT answer) {
    if (file.isOpen()) {
        file.write(Line(elapsedMs, message, answer));
        file.flush();
    }
}

}  // namespace winamp
