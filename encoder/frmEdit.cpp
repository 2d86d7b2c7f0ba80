#include "encoder/frmEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "encoder/SourceText.h"
#include "platform/Twips.h"

namespace encoder {

frmEdit::frmEdit(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Edit Line"));
    setFixedSize(platform::Px(6825), platform::Px(1125));

    lbl[0] = new QLabel(QStringLiteral("&Line:"), this);
    lbl[0]->setObjectName(QStringLiteral("lbl0"));
    lbl[0]->setGeometry(TwipsRect(-240, 120, 855, 495));
    lbl[0]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    txtEdit = new QLineEdit(this);
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setGeometry(TwipsRect(720, 120, 4215, 375));
    lbl[0]->setBuddy(txtEdit);
    auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(TwipsRect(5280, top, 1215, 375));
        b->setAutoDefault(false);
        return b;
    };
    cmdOK = button("cmdOK", QStringLiteral("&OK"), 120);
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("&Cancel"), 600);
    lbl[1] = new QLabel(QStringLiteral("*Note: this operation will not affect your original file."),
                        this);
    lbl[1]->setObjectName(QStringLiteral("lbl1"));
    lbl[1]->setGeometry(TwipsRect(720, 600, 4215, 495));
    lbl[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl[1]->setWordWrap(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmEdit::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEdit::cmdCancel_Click);
    connect(txtEdit, &QLineEdit::textChanged, this, &frmEdit::txtEdit_Change);
}

bool frmEdit::SetText(const QString& text) {
    txtEdit->setText(text);
    return true;
}

QString frmEdit::GetText() const {
    return TrimSpaces(txtEdit->text());
}

bool frmEdit::SetComment(const QString& comment) {
    lbl[1]->setText(lbl[1]->text() + u'\n' + comment);
    // Fonts here are wider than the ones the layout was drawn for: the dialog grows rather
    // than cut the note short.
    const int needed = lbl[1]->heightForWidth(lbl[1]->width());
    if (needed > lbl[1]->height()) {
        lbl[1]->resize(lbl[1]->width(), needed);
        setFixedHeight(lbl[1]->geometry().bottom() + platform::Px(120));
    }
    return true;
}

bool frmEdit::SetCaption(const QString& caption) {
    setWindowTitle(caption);
    return true;
}

void frmEdit::txtEdit_Change() {
    if (txtEdit->text().isEmpty()) {
        cmdOK->setEnabled(false);
    }
}

void frmEdit::cmdOK_Click() {
    returnState = true;
    accept();
}

void frmEdit::cmdCancel_Click() {
    reject();
}

}  // namespace encoder
