#include "encoder/frmTiming.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "lyrics/LyricsFormat.h"
#include "lyrics/Offsets.h"
#include "platform/Menus.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/frmNumber.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"

namespace encoder {

namespace {

const QString TimingTitle = QStringLiteral("Timing");
constexpr int TickMs = 40;
// Later, sooner, a little later, a little sooner.
constexpr std::array<qint64, 4> NudgeMs{100, -100, 10, -10};
// Ten minutes either way covers any drift within a song.
constexpr int MaxShiftMs = 600000;

// The line being sung stands out from the selection: bold on a warm background.
class SungDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(TimingTable::SungRole).toBool()) {
            option->font.setBold(true);
            option->backgroundBrush = QColor(0xff, 0xe0, 0x90);
        }
    }
};

}  // namespace

frmTiming::frmTiming(winamp::WinampLink& link, std::function<bool()> redetect, qint64 outputDelayMs,
                     QWidget* parent)
    : QDialog(parent, Qt::Window),
      link(link),
      redetect(std::move(redetect)),
      outputDelayMs(outputDelayMs),
      cmdlg(this) {
    setObjectName(QStringLiteral("frmTiming"));
    lstLines = new QTableView(this);
    lstLines->setObjectName(QStringLiteral("lstLines"));
    lstLines->setModel(&table);
    lstLines->setItemDelegate(new SungDelegate(lstLines));
    lstLines->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstLines->setSelectionMode(QAbstractItemView::SingleSelection);
    lstLines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstLines->setWordWrap(false);
    lstLines->setShowGrid(false);
    // Fixed sizes: nothing is measured row by row, so the longest song opens at once.
    QHeaderView* rowsHeader = lstLines->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* columns = lstLines->horizontalHeader();
    columns->setSectionResizeMode(TimingTable::TimeColumn, QHeaderView::Fixed);
    columns->resizeSection(TimingTable::TimeColumn,
                           fontMetrics().horizontalAdvance(QStringLiteral("000:00.000")) + 16);
    columns->setStretchLastSection(true);

    tmr = new QTimer(this);
    tmr->setObjectName(QStringLiteral("tmr"));
    tmr->setInterval(TickMs);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstLines);
    BuildMenus();
    resize(640, 480);

    connect(tmr, &QTimer::timeout, this, &frmTiming::tmr_Timer);
    connect(lstLines->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { table.Select(current.row()); });
    connect(&table, &TimingTable::SelectedChanged, this, &frmTiming::ShowSelected);
    connect(&table, &TimingTable::ModifiedChanged, this, &frmTiming::UpdateState);
    UpdateState();
}

frmTiming::~frmTiming() = default;

void frmTiming::BuildMenus() {
    using platform::AddMenuItem;
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* mnuFile = bar->addMenu(QStringLiteral("&File"));
    AddMenuItem(mnuFile, "itmSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                this, &frmTiming::itmSave_Click);
    AddMenuItem(mnuFile, "itmSaveAs", QStringLiteral("Save &As..."), {}, this,
                &frmTiming::itmSaveAs_Click);
    mnuFile->addSeparator();
    AddMenuItem(mnuFile, "itmClose", QStringLiteral("&Close"), {}, this, &frmTiming::reject);
    QMenu* mnuEdit = bar->addMenu(QStringLiteral("&Edit"));
    itmUndo = AddMenuItem(mnuEdit, "itmUndo", QStringLiteral("&Undo"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z), this, &frmTiming::itmUndo_Click);
    itmRedo = AddMenuItem(mnuEdit, "itmRedo", QStringLiteral("&Redo"),
                          QKeySequence(Qt::CTRL | Qt::Key_Y), this, &frmTiming::itmRedo_Click);
    mnuEdit->addSeparator();
    AddMenuItem(mnuEdit, "itmShift", QStringLiteral("Shift from here..."), {}, this,
                &frmTiming::itmShift_Click);
    QMenu* mnuTiming = bar->addMenu(QStringLiteral("&Timing"));
    AddMenuItem(mnuTiming, "itmPlay", QStringLiteral("&Play from Here"),
                QKeySequence(Qt::CTRL | Qt::Key_P), this, &frmTiming::itmPlay_Click);
    AddMenuItem(mnuTiming, "itmTap", QStringLiteral("&Tap"), QKeySequence(Qt::Key_Space), this,
                &frmTiming::itmTap_Click);
    mnuTiming->addSeparator();
    const std::array<QString, 4> nudges{QStringLiteral("&Later"), QStringLiteral("&Sooner"),
                                        QStringLiteral("A Little L&ater"),
                                        QStringLiteral("A Little S&ooner")};
    const std::array<QKeySequence, 4> keys{QKeySequence(Qt::CTRL | Qt::Key_Right),
                                           QKeySequence(Qt::CTRL | Qt::Key_Left),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left)};
    for (int i = 0; i < 4; ++i) {
        AddMenuItem(mnuTiming, QStringLiteral("itmNudge%1").arg(i), nudges[size_t(i)],
                    keys[size_t(i)], this, [this, i] { itmNudge_Click(i); });
    }
}

bool frmTiming::OpenFile(const QString& filePath) {
    std::optional<TimingFile> file = ReadTimingFile(filePath);
    if (!file) {
        return false;
    }
    askBeforeRewrite = file->RewriteDiffers;
    Opened(filePath, file->Format, file->Title, std::move(file->Rows));
    return true;
}

void frmTiming::OpenLines(const QString& filePath, const QString& songTitle,
                          std::vector<TimingRow> rows) {
    askBeforeRewrite = false;
    Opened(filePath, TimingFormat::Cx3, songTitle, std::move(rows));
}

void frmTiming::Opened(const QString& filePath, TimingFormat fileFormat, const QString& songTitle,
                       std::vector<TimingRow> rows) {
    path = filePath;
    format = fileFormat;
    title = songTitle;
    savedRows.reset();
    table.Load(std::move(rows));
    UpdateState();
}

void frmTiming::showEvent(QShowEvent* event) {
    tmr->start();
    QDialog::showEvent(event);
}

void frmTiming::hideEvent(QHideEvent* event) {
    tmr->stop();
    QDialog::hideEvent(event);
}

void frmTiming::tmr_Timer() {
    // A stopped (or missing) Winamp answers 0: then no line is being sung.
    const qint64 position = link.TickPositionMs();
    if (table.SetSung(position > 0 ? std::optional(lyrics::HeardPosition(position, outputDelayMs))
                                   : std::nullopt) &&
        table.Sung() >= 0) {
        lstLines->scrollTo(table.index(table.Sung(), TimingTable::TextColumn));
    }
}

void frmTiming::itmPlay_Click() {
    if (!redetect()) {
        return;
    }
    // Winamp seeks only in a song that plays or pauses, so a stopped one starts first.
    const qint64 from = table.PlayFromMs();
    const platform::LRESULT state = link.PlayState();
    if (state != winamp::StatePlaying && state != winamp::StatePaused) {
        link.Play();
    }
    link.Seek(from);
    if (state == winamp::StatePaused) {
        link.Pause();
    }
}

void frmTiming::itmTap_Click() {
    const platform::LRESULT state = link.PlayState();
    if (state != winamp::StatePlaying && state != winamp::StatePaused) {
        return;  // no song, no moment to take
    }
    table.Tap(lyrics::HeardPosition(link.PositionMs(), outputDelayMs));
    UpdateState();
}

void frmTiming::itmNudge_Click(int index) {
    if (index < 0 || index >= int(NudgeMs.size())) {
        return;
    }
    table.Nudge(NudgeMs[size_t(index)]);
    UpdateState();
}

void frmTiming::itmShift_Click() {
    if (table.Selected() < 0) {
        return;
    }
    platform::frmNumber ask(this);
    ask.SetCaption(QStringLiteral("Shift from here"));
    ask.SetText(QStringLiteral("Move line %1 and every line after it by this many milliseconds "
                               "(negative: sooner):")
                    .arg(table.Selected() + 1));
    ask.SetRange(-MaxShiftMs, MaxShiftMs);
    ask.SetValue(0);
    platform::ShowModal(&ask, this);
    if (ask.ReturnState()) {
        table.ShiftFrom(ask.GetValue());
        UpdateState();
    }
}

void frmTiming::itmUndo_Click() {
    table.Undo();
    UpdateState();
}

void frmTiming::itmRedo_Click() {
    table.Redo();
    UpdateState();
}

bool frmTiming::itmSave_Click() {
    if (path.isEmpty()) {
        return itmSaveAs_Click();
    }
    if (askBeforeRewrite &&
        platform::MsgBox(this,
                         QStringLiteral("This LRC file will be written anew from its lines and "
                                        "times: whatever else it holds (other tags, word timing) "
                                        "is not kept.\rSave it anyway?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         TimingTitle) != platform::MsgResult::Yes) {
        return false;
    }
    return SaveTo(path, format);
}

bool frmTiming::itmSaveAs_Click() {
    cmdlg.DialogTitle = QStringLiteral("Save Lyrics File As");
    cmdlg.Filter = QStringLiteral("Cantorix Files (*.cx3)|*.cx3|LRC Files (*.lrc)|*.lrc");
    cmdlg.FilterIndex = format == TimingFormat::Lrc ? 2 : 1;
    cmdlg.FileName = path;
    if (!cmdlg.ShowSave()) {
        return false;
    }
    QString chosen = cmdlg.FileName;
    if (lyrics::ExtensionRank(QFileInfo(chosen).suffix()) < 0) {
        chosen +=
            lyrics::ExtensionOf(cmdlg.FilterIndex == 2 ? TimingFormat::Lrc : TimingFormat::Cx3);
    }
    if (QFileInfo(chosen) != QFileInfo(path) && QFileInfo::exists(chosen) &&
        platform::MsgBox(this,
                         chosen + QStringLiteral(" already exists.\rDo you want to replace it?"),
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         cmdlg.DialogTitle) != platform::MsgResult::Yes) {
        return false;
    }
    return SaveTo(chosen, lyrics::LyricsFormatOf(chosen));
}

bool frmTiming::SaveTo(const QString& target, TimingFormat targetFormat) {
    if (!WriteTimingFile(target, targetFormat, title, table.Rows())) {
        platform::MsgBox(this, QStringLiteral("Could not save lyrics file."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation, TimingTitle);
        return false;
    }
    askBeforeRewrite = false;  // the file is now what the rows give
    path = target;
    format = targetFormat;
    savedRows = table.Rows();
    table.MarkSaved();
    UpdateState();
    return true;
}

void frmTiming::reject() {
    if (table.Modified()) {
        const platform::MsgResult answer = platform::MsgBox(
            this,
            QStringLiteral("Would you like to save the changes you made to the timing?") +
                QChar(u'\r') + path,
            platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question, TimingTitle);
        if (answer == platform::MsgResult::Cancel ||
            (answer == platform::MsgResult::Yes && !itmSave_Click())) {
            return;
        }
    }
    QDialog::reject();
}

void frmTiming::ShowSelected(int row) {
    const QModelIndex current = lstLines->currentIndex();
    if (row >= 0 && current.row() != row) {
        lstLines->setCurrentIndex(table.index(row, TimingTable::TextColumn));
    }
    if (row >= 0) {
        lstLines->scrollTo(table.index(row, TimingTable::TextColumn));
    }
}

void frmTiming::UpdateState() {
    const QString name = path.isEmpty() ? title : QFileInfo(path).fileName();
    setWindowTitle((table.Modified() ? QStringLiteral("*") : QString()) + name +
                   QStringLiteral(" - ") + TimingTitle);
    itmUndo->setEnabled(table.CanUndo());
    itmRedo->setEnabled(table.CanRedo());
}

}  // namespace encoder
