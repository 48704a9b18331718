#include "platform/qt/dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt {

namespace {

// One OK button, kept above other windows.
void ShowMessageBox(QWidget* owner, const QString& caption, const QString& text,
                    QMessageBox::Icon icon) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  // Setting the modality gives the box fresh window flags: it comes first.
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // Paths may hold "<" and must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void ShowInformationBox(QWidget* owner, const QString& caption, const QString& text) {
  ShowMessageBox(owner, caption, text, QMessageBox::Information);
}

void ShowWarningBox(QWidget* owner, const QString& caption, const QString& text) {
  ShowMessageBox(owner, caption, text, QMessageBox::Warning);
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

bool ConfirmEdit(QWidget* owner, const QString& caption, const QString& diff) {
  QDialog dialog(owner);
  dialog.setWindowTitle(caption);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.resize(720, 520);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(
      QStringLiteral("These changes will be written to the program's files:"), &dialog));
  auto* shown = new QPlainTextEdit(diff, &dialog);
  shown->setReadOnly(true);
  shown->setLineWrapMode(QPlainTextEdit::NoWrap);
  shown->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(shown, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  // Nothing is written on a stray Enter.
  buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace vt
