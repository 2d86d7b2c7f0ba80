#pragma once
#include <QWidget>
#include <array>
#include <functional>

#include "player/Skin.h"

namespace player {

class ImageButton;

// The player's row of transport buttons, Open, Play, Pause, Stop and Next: clickable
// pictures from the skin, shown or hidden rather than enabled or disabled. Next stands in
// Play's place; at first only Open is shown.
class Transport : public QWidget {
    Q_OBJECT
  public:
    explicit Transport(QWidget* parent);

    ImageButton* Button(SkinButton which) const { return buttons[size_t(which)]; }
    // Pause and Stop while a song is played, else Play and Open.
    void SetPlaying(bool playing);
    void SetNextShown(bool shown);
    // Loads the skin in folder as LoadSkin settles it, applyColours with every pass; a button
    // left without a picture shows the default skin's, so that it can still be seen and
    // clicked.
    SkinLoadResult ApplySkin(const QString& folder, const std::function<void()>& applyColours);

  private:
    std::array<ImageButton*, SkinLoadOrder.size()> buttons{};
    // Where a button held down finds its pressed picture.
    QString skinFolder;
};

}  // namespace player
