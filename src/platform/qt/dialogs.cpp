#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QSyntaxHighlighter>
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

// Added lines green, removed red, hunk heads blue: in colours that read on
// the editor's own base, light or dark.
class DiffHighlighter : public QSyntaxHighlighter {
 public:
  DiffHighlighter(QTextDocument* document, bool dark)
      : QSyntaxHighlighter(document),
        added_(dark ? QColor(0x56, 0xd3, 0x64) : QColor(0x11, 0x63, 0x29)),
        removed_(dark ? QColor(0xff, 0x8e, 0x86) : QColor(0xb3, 0x26, 0x1e)),
        head_(dark ? QColor(0x79, 0xc0, 0xff) : QColor(0x05, 0x50, 0xae)) {}

 protected:
  void highlightBlock(const QString& text) override {
    if (text.startsWith(QStringLiteral("+++")) || text.startsWith(QStringLiteral("---"))) {
      QTextCharFormat bold;
      bold.setFontWeight(QFont::Bold);
      setFormat(0, int(text.size()), bold);
    } else if (text.startsWith(QLatin1Char('+'))) {
      setFormat(0, int(text.size()), added_);
    } else if (text.startsWith(QLatin1Char('-'))) {
      setFormat(0, int(text.size()), removed_);
    } else if (text.startsWith(QStringLiteral("@@"))) {
      setFormat(0, int(text.size()), head_);
    }
  }

 private:
  QColor added_;
  QColor removed_;
  QColor head_;
};

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

bool ConfirmEdit(QWidget* owner, const QString& caption, const QString& diff, size_t files) {
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
  new DiffHighlighter(shown->document(),
                      shown->palette().color(QPalette::Base).lightness() < 128);
  layout->addWidget(shown, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)
      ->setText(files == 1 ? QStringLiteral("&Write 1 file")
                           : QStringLiteral("&Write %1 files").arg(files));
  // Nothing is written on a stray Enter.
  buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return dialog.exec() == QDialog::Accepted;
}

bool OfferFolderChoice(QWidget* owner, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setTextFormat(Qt::PlainText);
  QPushButton* choose =
      box.addButton(QStringLiteral("&Choose folder…"), QMessageBox::AcceptRole);
  box.addButton(QMessageBox::Close);
  box.setDefaultButton(choose);
  box.exec();
  return box.clickedButton() == choose;
}

void CloseOpenDialogs() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && dialog->isVisible()) dialog->reject();
  }
}

}  // namespace vt
