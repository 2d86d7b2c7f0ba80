#include "encoder/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "encoder/Version.h"
#include "platform/Product.h"

namespace encoder {

QString frmAbout::VersionText() {
    return QStringLiteral("Version ") + VersionNumber();
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + platform::EncoderTitle);

    lblTitle = new QLabel(platform::EncoderTitle, this);
    QFont big(QStringLiteral("Arial Narrow"));
    big.setPointSizeF(20.25);
    big.setBold(true);
    lblTitle->setFont(big);
    QPalette red = lblTitle->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lblTitle->setPalette(red);

    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setWordWrap(true);
    lbl->setText(VersionText() +
                 QStringLiteral("\n\nTurns a plain lyrics text into a timed lyrics file: press "
                                "Next Line each time the song moves on to the next line.\n\n"
                                "The lyrics files it writes are shown by ") +
                 platform::PlayerTitle + QStringLiteral("."));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    // A wrapped label's height follows its width: fixed the width, the box takes the
    // height the text needs, so nothing is clipped.
    constexpr int TextWidth = 330;
    lbl->setFixedSize(TextWidth, lbl->heightForWidth(TextWidth));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblTitle);
    layout->addWidget(lbl);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
}

void frmAbout::cmdOK_Click() {
    accept();
}

}  // namespace encoder
