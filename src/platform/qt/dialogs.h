// The modal boxes and dialogs of the desktop program. Each returns once the
// user has closed it.
#pragma once

#include <QString>
#include <QWidget>

namespace vt {

// Information icon, one OK button, kept above other windows.
void ShowInformationBox(QWidget* owner, const QString& caption, const QString& text);
// The same with a warning icon, for what failed or was refused.
void ShowWarningBox(QWidget* owner, const QString& caption, const QString& text);

// Lists only the files ending in "." + `extension`, starting in `folder`
// when given; the chosen file's full path, or empty when cancelled.
QString AskForFile(QWidget* owner, const QString& title, const QString& extension,
                   const QString& folder = QString());

// The chosen folder's full path, or empty when cancelled.
QString AskForFolder(QWidget* owner, const QString& title);

// Shows `diff`, an edit about to be made to `files` files, coloured as
// diffs are, with a button that names what it writes ("Write 2 files") and
// Cancel; true only for the first.
bool ConfirmEdit(QWidget* owner, const QString& caption, const QString& diff, size_t files);

// A warning with a "Choose folder..." button beside Close; true when the
// user chose to pick a folder.
bool OfferFolderChoice(QWidget* owner, const QString& caption, const QString& text);

// Closes every dialog and box that is open, as Cancel or Close would: the
// program is asked to end.
void CloseOpenDialogs();

}  // namespace vt
