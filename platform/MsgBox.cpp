#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>

#include "NoModal.h"

namespace platform {

namespace {

MsgBoxHook& Hook() {
    static MsgBoxHook hook;
    return hook;
}

QList<QMessageBox::StandardButton> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {QMessageBox::Ok};
        case MsgButtons::OKCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case MsgButtons::YesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case MsgButtons::YesNoCancel:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MsgResult ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        default:
            return MsgResult::OK;
    }
}

}  // namespace

void SetMsgBoxHook(MsgBoxHook hook) {
    Hook() = std::move(hook);
}

std::unique_ptr<QMessageBox> BuildMsgBox(QWidget* owner, const QString& text, MsgButtons buttons,
                                         MsgIcon icon, const QString& title,
                                         std::optional<MsgResult> defaultButton) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(title);
    // Our texts join their lines with a carriage return alone.
    box->setTextFormat(Qt::PlainText);
    box->setText(QString(text)
                     .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                     .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box->setIcon(IconOf(icon));
    const auto list = ButtonsOf(buttons);
    QMessageBox::StandardButton enter = list.first();
    for (const auto b : list) {
        box->addButton(b);
        if (defaultButton == ResultOf(b)) {
            enter = b;
        }
    }
    box->setDefaultButton(enter);
    // Closing by the title bar: Cancel where offered, else the last button.
    box->setEscapeButton(list.contains(QMessageBox::Cancel) ? QMessageBox::Cancel : list.last());
    return box;
}

MsgResult MsgBoxAnswer(const QMessageBox& box) {
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        clicked = box.escapeButton();
    }
    return ResultOf(box.standardButton(clicked));
}

MsgResult MsgBox(QWidget* owner, const QString& text, MsgButtons buttons, MsgIcon icon,
                 const QString& title, std::optional<MsgResult> defaultButton) {
    if (const MsgBoxHook hook = Hook()) {
        return hook(MsgBoxCall{title, text, buttons, icon, defaultButton});
    }
    if (detail::NoModal()) {
        detail::RefuseModal("message box", title, text);
    }
    auto box = BuildMsgBox(owner != nullptr ? owner : QApplication::activeWindow(), text, buttons,
                           icon, title, defaultButton);
    box->exec();
    return MsgBoxAnswer(*box);
}

}  // namespace platform
