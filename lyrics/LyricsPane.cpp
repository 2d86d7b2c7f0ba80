#include "lyrics/LyricsPane.h"

#include <QMouseEvent>

#include "lyrics/LineFit.h"
#include "lyrics/LyricLabel.h"
#include "platform/Twips.h"

namespace lyrics {

namespace {

LyricLabel* MakeLabel(QWidget* pane, const char* name, const QRect& place, const char* family,
                      double points) {
    auto* label = new LyricLabel(pane);
    label->setText(QStringLiteral(":o)"));
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    QFont font{QString::fromLatin1(family)};
    font.setPointSizeF(points);
    font.setBold(true);
    label->setFont(font);
    return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
}

}  // namespace

LyricsPane::LyricsPane(Qt::Alignment nextAlignment, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("lyricsPane"));
    setGeometry(platform::TwipsRect(0, 0, 6855, 1455));
    lblCurrLine =
        MakeLabel(this, "lblCurrLine", platform::TwipsRect(0, 0, 6855, 1095), "Verdana Ref", 18);
    lblCurrLine->setAlignment(Qt::AlignCenter);
    lblCurrLine->setWordWrap(true);
    lblCurrLine->installEventFilter(this);
    lblNextLine =
        MakeLabel(this, "lblNextLine", platform::TwipsRect(0, 1080, 6855, 375), "Arial", 9.75);
    lblNextLine->setAlignment(nextAlignment);
}

void LyricsPane::ShowCurrent(const QString& line) {
    ShowLine(*lblCurrLine, line);
}

void LyricsPane::ShowNext(const QString& line) {
    ShowLine(*lblNextLine, line);
}

void LyricsPane::SetColours(const QColor& current, const QColor& next) {
    SetTextColour(lblCurrLine, current);
    SetTextColour(lblNextLine, next);
    // The sung part of the current line takes the colour of the line to come.
    lblCurrLine->SetFillColour(next);
}

void LyricsPane::ShowSung(std::vector<double> chars) {
    lblCurrLine->SetSung(std::move(chars));
}

void LyricsPane::SetOutlined(bool outlined) {
    lblCurrLine->SetOutlined(outlined);
    lblNextLine->SetOutlined(outlined);
}

bool LyricsPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCurrLine && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit CurrentLineMouseUp(mouse->button(), mouse->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lyrics
