#pragma once
// Small helpers shared by the lyrics tests.
#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <clocale>
#include <string>

namespace lyrics::test {

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString GoldenPath(const char* name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/lyrics/") + QLatin1String(name);
}

// Switches Qt's default locale and, where the machine has one, the C library's numeric
// locale to German (decimal comma) for as long as it lives.
class GermanLocale {
  public:
    explicit GermanLocale(bool on) : m_on(on) {
        if (!m_on) {
            return;
        }
        m_oldQt = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const char* old = std::setlocale(LC_NUMERIC, nullptr);
        m_oldC = old ? old : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
            if (std::setlocale(LC_NUMERIC, name)) {
                break;
            }
        }
    }
    ~GermanLocale() {
        if (m_on) {
            QLocale::setDefault(m_oldQt);
            std::setlocale(LC_NUMERIC, m_oldC.c_str());
        }
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

  private:
    bool m_on;
    QLocale m_oldQt;
    std::string m_oldC;
};

}  // namespace lyrics::test
