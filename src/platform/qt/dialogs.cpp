#include "platform/qt/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vt {

void ShowInformationBox(QWidget* owner, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
  // Setting the modality gives the box fresh window flags: it comes first.
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // Paths may hold "<" and must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

QString AskForFile(QWidget* owner, const QString& title, const QString& extension,
                   const QString& folder) {
  QFileDialog dialog(owner, title, folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("BlitzMax source (*.%1)").arg(extension));
  if (dialog.exec() != QDialog::Accepted) return QString();
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

QString AskForFolder(QWidget* owner, const QString& title) {
  QFileDialog dialog(owner, title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted) return QString();
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace vt
