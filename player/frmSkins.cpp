#include "player/frmSkins.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/Folders.h"
#include "platform/Twips.h"
#include "player/Skin.h"

namespace player {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int LevelRole = Qt::UserRole + 1;
constexpr int IndentPx = 10;

#ifdef _WIN32
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

// Each entry sits one step further right than the folder above it, as in a folder tree.
class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(Indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += Indent(index);
        return size;
    }

  private:
    static int Indent(const QModelIndex& index) { return index.data(LevelRole).toInt() * IndentPx; }
};

// Qt's form of a folder: '/' separators, no trailing one but for a root.
QString Clean(const QString& folder) {
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

// The folder above folder; empty for a root.
QString Parent(const QString& folder) {
    if (QDir(folder).isRoot()) {
        return QString();
    }
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return QString();
    }
    QString parent = folder.left(slash);
    if (parent.isEmpty() || parent.endsWith(QLatin1Char(':'))) {
        parent += QLatin1Char('/');  // "/" and "C:/"
    }
    return parent;
}

bool IsFolder(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

}  // namespace

frmSkins::frmSkins(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    using platform::Px;
    using platform::TwipsRect;
    setObjectName(QStringLiteral("frmSkins"));
    setWindowTitle(QStringLiteral("Skin Selection"));
    setFixedSize(Px(3675), Px(4785));

    lbl = new QLabel(QStringLiteral("Skin Location:"), this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setGeometry(TwipsRect(360, 240, 2895, 285));

    dir = new QListWidget(this);
    dir->setObjectName(QStringLiteral("dir"));
    dir->setGeometry(TwipsRect(360, 600, 2895, 3015));
    dir->setItemDelegate(new IndentDelegate(dir));
    dir->setSelectionMode(QAbstractItemView::SingleSelection);
    dir->installEventFilter(this);
    // Double clicks only: activation may come with a single click on some desktops.
    connect(dir, &QListWidget::itemDoubleClicked, this, &frmSkins::dir_DblClick);

    drive = new QComboBox(this);
    drive->setObjectName(QStringLiteral("drive"));
    drive->setGeometry(TwipsRect(360, 3600, 2895, 315));
    for (const QString& volume : Volumes()) {
        drive->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon),
                       QDir::toNativeSeparators(volume), volume);
    }
    // A choice of the user's, not the list following the folder opened.
    connect(drive, &QComboBox::activated, this, &frmSkins::drive_Change);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(360, 4140, 1335, 375));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmSkins::cmdOK_Click);

    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(1920, 4140, 1335, 375));
    connect(cmdCancel, &QPushButton::clicked, this, &frmSkins::cmdCancel_Click);
}

bool frmSkins::SetValue(const QString& sCurrent) {
    QString folder = Clean(sCurrent);
    bool exact = true;
    if (sCurrent.isEmpty() || QDir::isRelativePath(folder)) {
        // No skin folder known (the default skin failed), or one only a current folder
        // would make sense of: start where the skins are.
        exact = false;
        folder = Clean(SkinsFolder());
        if (!IsFolder(folder)) {
            folder = QDir::homePath();
        }
    }
    while (!IsFolder(folder)) {
        exact = false;
        folder = Parent(folder);
        if (folder.isEmpty()) {
            folder = QDir::homePath();  // a drive that is not there
        }
    }
    OpenFolder(folder);
    QDir::setCurrent(folder);
    return exact;
}

QString frmSkins::GetValue() const {
    if (openFolder.isEmpty()) {
        return QString();
    }
    const QString shown = QDir::toNativeSeparators(openFolder);
    const QString sep = platform::PathSeparator();
    return shown.endsWith(sep) ? shown : shown + sep;
}

QString frmSkins::VolumeFor(const QStringList& volumes, const QString& folder) {
    const QString path = Clean(folder);
    QString best;
    for (const QString& volume : volumes) {
        const QString root = Clean(volume);
        const bool holds =
            path.compare(root, PathCase) == 0 ||
            path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'),
                            PathCase);
        if (holds && root.size() > best.size()) {
            best = root;
        }
    }
    return best;
}

QStringList frmSkins::Volumes() {
    QStringList volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady()) {
            volumes.append(Clean(storage.rootPath()));
        }
    }
#ifndef _WIN32
    volumes.append(QDir::rootPath());
#endif
    volumes.sort(PathCase);
    volumes.removeDuplicates();
    return volumes;
}

void frmSkins::cmdOK_Click() {
    returnState = true;
    accept();
}

void frmSkins::cmdCancel_Click() {
    reject();
}

void frmSkins::dir_DblClick(QListWidgetItem* item) {
    if (item != nullptr) {
        OpenFolder(item->data(PathRole).toString());
    }
}

void frmSkins::drive_Change(int index) {
    const QString volume = drive->itemData(index).toString();
    if (IsFolder(volume)) {
        OpenFolder(volume);
    } else {
        SelectDrive(openFolder);  // not there (any more): back to the volume on show
    }
}

bool frmSkins::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dir && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter opens the highlighted folder; it does not press the default button.
            dir_DblClick(dir->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSkins::OpenFolder(const QString& folder) {
    QStringList way;
    for (QString step = folder; !step.isEmpty(); step = Parent(step)) {
        way.prepend(step);
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    dir->clear();
    for (qsizetype level = 0; level < way.size(); ++level) {
        const QString& step = way[level];
        const QString name =
            level == 0 ? QDir::toNativeSeparators(step) : QFileInfo(step).fileName();
        auto* item = new QListWidgetItem(open, name, dir);
        item->setData(PathRole, step);
        item->setData(LevelRole, static_cast<int>(level));
    }
    const QStringList subfolders =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closed, name, dir);
        item->setData(PathRole, prefix + name);
        item->setData(LevelRole, static_cast<int>(way.size()));
    }
    dir->setCurrentRow(static_cast<int>(way.size()) - 1);
    openFolder = folder;
    SelectDrive(folder);
}

void frmSkins::SelectDrive(const QString& folder) {
    QStringList volumes;
    for (int i = 0; i < drive->count(); ++i) {
        volumes.append(drive->itemData(i).toString());
    }
    const QSignalBlocker quiet(drive);
    drive->setCurrentIndex(static_cast<int>(volumes.indexOf(VolumeFor(volumes, folder))));
}

}  // namespace player
