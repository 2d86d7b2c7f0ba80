#include "player/Transport.h"

#include "platform/Twips.h"
#include "player/ImageButton.h"

namespace player {

namespace {
constexpr int ButtonTop = 1560;
constexpr int ButtonWidth = 1095;
constexpr int ButtonHeight = 375;
}  // namespace

Transport::Transport(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("transport"));
    setGeometry(platform::TwipsRect(0, ButtonTop, 6855, ButtonHeight));
    auto button = [this](const char* name, int left, SkinButton which) {
        auto* b = new ImageButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(platform::TwipsRect(left, 0, ButtonWidth, ButtonHeight));
        // The pressed picture is read from the skin on every press and the normal one on
        // every release; a bitmap missing from the skin leaves what the button showed.
        connect(b, &ImageButton::MouseDown, this,
                [this, b, which] { b->LoadPicture(PressFeedbackPath(skinFolder, which, true)); });
        connect(b, &ImageButton::MouseUp, this,
                [this, b, which] { b->LoadPicture(PressFeedbackPath(skinFolder, which, false)); });
        buttons[size_t(which)] = b;
    };
    button("cmdOpen", 120, SkinButton::Open);
    button("cmdPlay", 2760, SkinButton::Play);
    button("cmdNext", 2760, SkinButton::Next);
    button("cmdPause", 4200, SkinButton::Pause);
    button("cmdStop", 5640, SkinButton::Stop);
    for (SkinButton which :
         {SkinButton::Play, SkinButton::Next, SkinButton::Pause, SkinButton::Stop}) {
        Button(which)->hide();
    }
}

void Transport::SetPlaying(bool playing) {
    Button(SkinButton::Play)->setVisible(!playing);
    Button(SkinButton::Pause)->setVisible(playing);
    Button(SkinButton::Open)->setVisible(!playing);
    Button(SkinButton::Stop)->setVisible(playing);
}

void Transport::SetNextShown(bool shown) {
    Button(SkinButton::Next)->setVisible(shown);
}

SkinLoadResult Transport::ApplySkin(const QString& folder,
                                    const std::function<void()>& applyColours) {
    const SkinLoadResult result = LoadSkin(
        folder,
        [this](SkinButton which, const QString& path) { return Button(which)->LoadPicture(path); },
        applyColours);
    skinFolder = result.SkinFolder;
    for (SkinButton which : SkinLoadOrder) {
        if (Button(which)->pixmap().isNull()) {
            Button(which)->LoadPicture(DefaultSkinFolder() + NormalBitmapName(which));
        }
    }
    return result;
}

}  // namespace player
