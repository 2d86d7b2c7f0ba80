#pragma once
#include <QLabel>
#include <QPainterPath>
#include <QTextLayout>
#include <vector>

namespace lyrics {

// A lyric line's label. As a plain label it paints as any QLabel. With a sung part it lays
// its text out itself and paints the sung characters over in the fill colour; outlined it
// draws every glyph with a contrasting edge, so the line reads on any background.
class LyricLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LyricLabel(QWidget* parent);

    // Where the sung part of each line of the text ends (see SungChars); none for no fill.
    // Only the strip between the old and the new fill is repainted.
    void SetSung(std::vector<double> chars);
    void SetFillColour(const QColor& colour);
    void SetOutlined(bool outlined);
    // The sung area in the label's coordinates, as painted.
    QRegion SungRegion();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Lays the text out again when it, the font or the size changed since the last time.
    void LayOut();
    double CharX(const QTextLine& line, double at) const;
    QRegion RegionOf(const std::vector<double>& chars) const;

    std::vector<double> sung;
    QColor fillColour;
    bool outlined = false;
    QTextLayout layout;
    QString laidText;
    QFont laidFont;
    QSize laidSize;
    QPointF origin;
    QPainterPath outline;
    QRegion sungRegion;  // of sung, in the layout as it is; again when either changes
    bool regionDirty = true;
};

}  // namespace lyrics
