// Every dialog of the player shows its whole text at its natural size: no label or button
// clips what it says.
#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <memory>

#include "player/frmAbout.h"
#include "player/frmSkins.h"

Q_DECLARE_METATYPE(std::shared_ptr<QDialog>)

class TestDialogText : public QObject {
    Q_OBJECT

  private slots:
    void nothingClipped_data() {
        QTest::addColumn<std::shared_ptr<QDialog>>("dialog");
        QTest::newRow("frmAbout") << std::shared_ptr<QDialog>(new player::frmAbout);
        QTest::newRow("frmSkins") << std::shared_ptr<QDialog>(new player::frmSkins);
    }
    void nothingClipped() {
        QFETCH(std::shared_ptr<QDialog>, dialog);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        int texts = 0;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) {
                continue;
            }
            ++texts;
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                box, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                label->text());
            QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                     qPrintable(label->text()));
        }
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            const QString text = QString(button->text()).remove(u'&');
            QVERIFY2(button->fontMetrics().horizontalAdvance(text) < button->width(),
                     qPrintable(text));
        }
        QVERIFY(texts > 0);
    }
};

QTEST_MAIN(TestDialogText)
#include "tst_dialog_text.moc"
