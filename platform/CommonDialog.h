#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QColor;
class QFileDialog;
class QWidget;

namespace platform {

enum class DialogKind { Open, Save, Color, Folder };

// The Open/Save/Colour dialog of a main window, with the properties of the Windows
// common dialog. One instance per main window: a title or filter set by one command
// stays until another command sets it.
class CommonDialog {
  public:
    // Flags bits as Windows gives them.
    static constexpr int HideReadOnly = 0x4;
    static constexpr int PathMustExist = 0x800;
    static constexpr int FileMustExist = 0x1000;

    explicit CommonDialog(QWidget* owner = nullptr) : owner(owner) {}

    QString DialogTitle;  // empty: the system's default title
    QString Filter;       // "desc|patterns|desc|patterns", patterns joined by ';'
    int FilterIndex = 1;  // counted from 1
    int Flags = 0;
    QString FileName;         // in: proposed name; out: the chosen path
    std::uint32_t Color = 0;  // 0x00BBGGRR

    // Each answers true when the user confirmed, false when cancelled; on cancel
    // FileName and Color are unchanged.
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();
    // A folder: FileName in, the folder shown first; out, the folder chosen.
    bool ShowFolder();

  private:
    bool ShowFile(DialogKind kind);

    QWidget* owner;
};

struct DialogRequest {
    DialogKind Kind;
    QString Title;
    QString Filter;
    int FilterIndex;
    int Flags;
    QString FileName;
};

struct DialogAnswer {
    bool Confirmed = false;
    QString FileName;
    std::uint32_t Color = 0;
};

// Test seam: while a hook is set, every common dialog goes to it instead of the screen.
using DialogHook = std::function<DialogAnswer(const DialogRequest&)>;
void SetDialogHook(DialogHook hook);

// Turns "desc|patterns|..." into Qt name filters ("desc (p1 p2)").
QStringList QtNameFilters(const QString& filter);

// The Open, Save or folder dialog that ShowOpen, ShowSave and ShowFolder run for request, built but
// not shown.
std::unique_ptr<QFileDialog> BuildFileDialog(const DialogRequest& request, QWidget* owner);

// Colours in the Windows order 0x00BBGGRR.
QColor ColorFromBgr(std::uint32_t bgr);
std::uint32_t BgrFromColor(const QColor& color);

}  // namespace platform
