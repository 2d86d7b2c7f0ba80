#include "lyrics/LyricLabel.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QTextLine>
#include <cmath>

namespace lyrics {

namespace {

// Black edges around light text, white around dark, by how bright the eye finds it: pure
// blue is dark.
QColor EdgeFor(const QColor& text) {
    return qGray(text.rgb()) > 128 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

LyricLabel::LyricLabel(QWidget* parent) : QLabel(parent) {
    // Kept shaped: the fill measures and paints the same text at the screen's rate.
    layout.setCacheEnabled(true);
}

void LyricLabel::SetSung(std::vector<double> chars) {
    if (chars == sung) {
        return;
    }
    const QRegion before = SungRegion();
    sung = std::move(chars);
    regionDirty = true;
    const QRegion after = SungRegion();
    if (before != after) {
        update(before.xored(after));
    }
}

void LyricLabel::SetFillColour(const QColor& colour) {
    fillColour = colour;
    update();
}

void LyricLabel::SetOutlined(bool on) {
    outlined = on;
    update();
}

void LyricLabel::LayOut() {
    const QString shown = text();
    if (shown == laidText && font() == laidFont && size() == laidSize) {
        return;
    }
    laidText = shown;
    laidFont = font();
    laidSize = size();
    regionDirty = true;
    QString flowing = shown;
    flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);  // same length, same offsets
    layout.setText(flowing);
    layout.setFont(font());
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    const QRectF box = contentsRect();
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    double top = box.top();
    if (alignment() & Qt::AlignVCenter) {
        top += (box.height() - height) / 2;
    } else if (alignment() & Qt::AlignBottom) {
        top += box.height() - height;
    }
    origin = QPointF(box.left(), std::round(top));
    outline.clear();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont glyphs = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> places = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            outline.addPath(glyphs.pathForGlyph(indexes[i]).translated(places[i] + origin));
        }
    }
}

double LyricLabel::CharX(const QTextLine& line, double at) const {
    const int whole = int(std::floor(at));
    const double x = line.cursorToX(whole);
    if (at <= whole || whole + 1 > line.textStart() + line.textLength()) {
        return x;
    }
    return x + (line.cursorToX(whole + 1) - x) * (at - whole);
}

QRegion LyricLabel::SungRegion() {
    LayOut();
    if (regionDirty) {
        sungRegion = RegionOf(sung);
        regionDirty = false;
    }
    return sungRegion;
}

QRegion LyricLabel::RegionOf(const std::vector<double>& chars) const {
    QRegion region;
    // The shown text may be the start of the line only; its own line breaks split it as the
    // line's.
    qsizetype from = 0;
    for (const double end : chars) {
        if (from > laidText.size()) {
            break;
        }
        qsizetype to = laidText.indexOf(QLatin1Char('\n'), from);
        if (to < 0) {
            to = laidText.size();
        }
        const double filled = std::min(end, double(to));
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const qsizetype start = line.textStart();
            const qsizetype stop = start + line.textLength();
            if (stop <= from || start >= filled || start > to) {
                continue;
            }
            const double left = CharX(line, double(std::max(from, start)));
            const double right = CharX(line, std::min(filled, double(stop)));
            const QRectF strip(QPointF(std::min(left, right), line.y()) + origin,
                               QPointF(std::max(left, right), line.y() + line.height()) + origin);
            region += strip.toAlignedRect();
        }
        from = to + 1;
    }
    return region;
}

void LyricLabel::paintEvent(QPaintEvent* event) {
    if (sung.empty() && !outlined) {
        QLabel::paintEvent(event);
        return;
    }
    LayOut();
    const QRegion filled = SungRegion();
    const QColor colour = palette().color(QPalette::WindowText);
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (outlined) {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal edge = std::max(2.0, font().pointSizeF() / 6);
        painter.strokePath(outline,
                           QPen(EdgeFor(colour), edge, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(outline, colour);
        painter.setClipRegion(event->region() & filled);
        painter.fillPath(outline, fillColour);
        return;
    }
    // A strip the fill has just taken needs no base colour under it.
    if (!(event->region() - filled).isEmpty()) {
        painter.setPen(colour);
        layout.draw(&painter, origin);
    }
    painter.setClipRegion(event->region() & filled);
    painter.setPen(fillColour);
    layout.draw(&painter, origin);
}

}  // namespace lyrics
