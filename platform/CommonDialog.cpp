#include "CommonDialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "NoModal.h"

namespace platform {

namespace {

DialogHook& Hook() {
    static DialogHook hook;
    return hook;
}

const char* NameOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Open:
            return "open dialog";
        case DialogKind::Save:
            return "save dialog";
        case DialogKind::Color:
            return "colour dialog";
        case DialogKind::Folder:
            return "folder dialog";
    }
    return "dialog";
}

}  // namespace

void SetDialogHook(DialogHook hook) {
    Hook() = std::move(hook);
}

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    // A description without patterns after it (a trailing '|') is ignored, as Windows does.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'))) {
            if (!p.trimmed().isEmpty()) {
                patterns << p.trimmed();
            }
        }
        if (patterns.isEmpty()) {
            continue;
        }
        const QString joined = patterns.join(QLatin1Char(' '));
        const QString description = parts[i].trimmed();
        // Qt takes the patterns from the last parentheses, so a description may carry its own.
        filters << (description.isEmpty() ? joined : description) + QStringLiteral(" (") + joined +
                       QLatin1Char(')');
    }
    return filters;
}

std::unique_ptr<QFileDialog> BuildFileDialog(const DialogRequest& request, QWidget* owner) {
    auto dialog = std::make_unique<QFileDialog>(owner);
    // Qt's own dialog behaves the same on every system and under tests.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (request.Kind == DialogKind::Folder) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        if (!request.FileName.isEmpty()) {
            dialog->setDirectory(QDir::fromNativeSeparators(request.FileName));
        }
        if (!request.Title.isEmpty()) {
            dialog->setWindowTitle(request.Title);
        }
        return dialog;
    }
    if (request.Kind == DialogKind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The commands ask their own questions about replacing; no extension is added.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDefaultSuffix(QString());
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode((request.Flags & CommonDialog::FileMustExist) != 0
                                ? QFileDialog::ExistingFile
                                : QFileDialog::AnyFile);
    }
    if (!request.Title.isEmpty()) {
        dialog->setWindowTitle(request.Title);
    }
    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        const qsizetype index = request.FilterIndex - 1;
        dialog->selectNameFilter(filters.value(index >= 0 && index < filters.size() ? index : 0));
    }
    if (!request.FileName.isEmpty()) {
        const QString name = QDir::fromNativeSeparators(request.FileName);
        if (name.contains(QLatin1Char('/'))) {
            const QFileInfo info(name);
            dialog->setDirectory(info.absolutePath());
            dialog->selectFile(info.fileName());
        } else {
            dialog->selectFile(name);
        }
    }
    return dialog;
}

QColor ColorFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                  static_cast<int>((bgr >> 16) & 0xff));
}

std::uint32_t BgrFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
           (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

bool CommonDialog::ShowOpen() {
    return ShowFile(DialogKind::Open);
}

bool CommonDialog::ShowSave() {
    return ShowFile(DialogKind::Save);
}

bool CommonDialog::ShowFolder() {
    return ShowFile(DialogKind::Folder);
}

bool CommonDialog::ShowFile(DialogKind kind) {
    const DialogRequest request{kind, DialogTitle, Filter, FilterIndex, Flags, FileName};
    if (const DialogHook hook = Hook()) {
        const DialogAnswer answer = hook(request);
        if (answer.Confirmed) {
            FileName = answer.FileName;
        }
        return answer.Confirmed;
    }
    if (detail::NoModal()) {
        detail::RefuseModal(NameOf(kind), DialogTitle, FileName);
    }
    const auto dialog = BuildFileDialog(request, owner);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return false;
    }
    FileName = QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
    const qsizetype chosen = QtNameFilters(Filter).indexOf(dialog->selectedNameFilter());
    if (chosen >= 0) {
        FilterIndex = static_cast<int>(chosen) + 1;
    }
    return true;
}

bool CommonDialog::ShowColor() {
    const DialogRequest request{DialogKind::Color, DialogTitle, Filter,
                                FilterIndex,       Flags,       FileName};
    if (const DialogHook hook = Hook()) {
        const DialogAnswer answer = hook(request);
        if (answer.Confirmed) {
            Color = answer.Color & 0xffffffu;
        }
        return answer.Confirmed;
    }
    if (detail::NoModal()) {
        detail::RefuseModal(NameOf(DialogKind::Color), DialogTitle, QString());
    }
    QColorDialog dialog(owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (!DialogTitle.isEmpty()) {
        dialog.setWindowTitle(DialogTitle);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    Color = BgrFromColor(dialog.selectedColor());
    return true;
}

}  // namespace platform
