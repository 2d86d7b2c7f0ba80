#include "player/frmAbout.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "platform/Product.h"
#include "player/Version.h"

namespace player {

namespace {
// The program's picture: a note on a lantern-coloured disc, drawn rather than shipped.
QPixmap ProgramPicture() {
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 192, 128));
    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.drawEllipse(2, 2, 44, 44);
    QFont f = p.font();
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(picture.rect(), Qt::AlignCenter, QString(QChar(0x266A)));
    return picture;
}
}  // namespace

QString frmAbout::VersionText() {
    return QStringLiteral("Version ") + VersionNumber();
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Cantorix 3"));

    lblTitle = new QLabel(platform::PlayerTitle, this);
    QFont big = lblTitle->font();
    big.setPointSize(20);
    big.setBold(true);
    lblTitle->setFont(big);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProgramPicture());

    // Filled when the box loads: the version first, then what the program is for.
    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setWordWrap(true);
    lbl->setText(VersionText() +
                 QStringLiteral("\n\nShows song lyrics line by line, in step with the song "
                                "that Winamp is playing, and plays lyrics playlists song "
                                "after song.\n\nLyrics files are made with the Cantorix 3 "
                                "Encoder."));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    // A wrapped label's height follows its width, which a layout does not see by itself:
    // fixed the width, given the height that width needs, and the box takes its natural size.
    constexpr int TextWidth = 270;
    lbl->setFixedSize(TextWidth, lbl->heightForWidth(TextWidth));
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(Image1, 0, 0, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lbl, 1, 1);
    grid->addWidget(cmdOK, 2, 1, Qt::AlignRight);
}

void frmAbout::cmdOK_Click() {
    accept();
}

}  // namespace player
