#include "platform/qt/header_panel_view.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/menu_tags.h"
#include "platform/qt/qt_text.h"

namespace vt {

namespace {

QString CheckStateText(HeaderCheckState state) {
  switch (state) {
    case HeaderCheckState::Matches:
      return QStringLiteral("matches");
    case HeaderCheckState::Differs:
      return QStringLiteral("differs");
    case HeaderCheckState::Unreadable:
      return QStringLiteral("cannot be read");
  }
  return QString();
}

QString CheckStateColour(HeaderCheckState state) {
  return state == HeaderCheckState::Matches ? QStringLiteral("#1a7f37")
                                            : QStringLiteral("#b3261e");
}

}  // namespace

HeaderPanelView::HeaderPanelView(Poster post, QWidget* parent)
    : QWidget(parent), post_(std::move(post)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Framework block:"), this));

  blockChoice_ = new QComboBox(this);
  layout->addWidget(blockChoice_);
  connect(blockChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) post_(BlockEvent(index));
  });

  boxes_ = new QTreeWidget(this);
  boxes_->setColumnCount(2);
  boxes_->setHeaderLabels({QStringLiteral("Header lines"), QStringLiteral("Why")});
  boxes_->setRootIsDecorated(false);
  boxes_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(boxes_, 1);

  warnings_ = new QLabel(this);
  warnings_->setWordWrap(true);
  warnings_->setTextFormat(Qt::PlainText);
  warnings_->setStyleSheet(QStringLiteral("color: #b3261e"));
  warnings_->hide();
  layout->addWidget(warnings_);

  apply_ = new QPushButton(QStringLiteral("Apply to files\u2026"), this);
  apply_->setToolTip(
      QStringLiteral("Shows the edit that makes every file's header match this block, "
                     "and makes it once you agree"));
  layout->addWidget(apply_);
  connect(apply_, &QPushButton::clicked, this,
          [this] { post_(MenuEvent(kMenuApplyHeaders)); });
}

void HeaderPanelView::Show(const HeaderPanelContent& content) {
  ShowBlockTitles(content);
  boxes_->clear();
  copyButtons_.clear();
  for (size_t i = 0; i < content.boxes.size(); ++i) AddBox(content.boxes[i], i);
  boxes_->expandAll();
  FitLinesColumn();
  ShowWarnings(content.warnings);
}

// The column fits the lines and each box's title row, which the tree's own
// measure leaves out: its Copy button would be cut off.
void HeaderPanelView::FitLinesColumn() {
  boxes_->resizeColumnToContents(0);
  int width = boxes_->columnWidth(0);
  for (int i = 0; i < boxes_->topLevelItemCount(); ++i) {
    if (QWidget* row = boxes_->itemWidget(boxes_->topLevelItem(i), 0)) {
      width = std::max(width, row->sizeHint().width());
    }
  }
  boxes_->setColumnWidth(0, width);
}

// Set without sending: only the user's choice is an event.
void HeaderPanelView::ShowBlockTitles(const HeaderPanelContent& content) {
  const QSignalBlocker quiet(blockChoice_);
  blockChoice_->clear();
  for (const Text& title : content.blockTitles) blockChoice_->addItem(ToQString(title));
  blockChoice_->setCurrentIndex(static_cast<int>(content.block));
  blockChoice_->setEnabled(content.blockTitles.size() > 1);
}

void HeaderPanelView::AddBox(const PanelBox& box, size_t index) {
  auto* top = new QTreeWidgetItem(boxes_);
  boxes_->setItemWidget(top, 0, BoxTitleRow(box, index));
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (const PanelLine& line : box.lines) {
    auto* item = new QTreeWidgetItem(top, {ToQString(line.text), ToQString(line.reason)});
    item->setFont(0, fixed);
    item->setToolTip(0, ToQString(line.reason));
    item->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
  }
}

// The box's file, its check state and its Copy button, on one row: kept
// together, so that a wide column of reasons never pushes the button away.
QWidget* HeaderPanelView::BoxTitleRow(const PanelBox& box, size_t index) {
  auto* controls = new QWidget(boxes_);
  auto* row = new QHBoxLayout(controls);
  row->setContentsMargins(0, 1, 0, 1);
  auto* title = new QLabel(controls);
  title->setTextFormat(Qt::PlainText);
  title->setText(ToQString(box.title));
  title->setToolTip(ToQString(box.file));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  row->addWidget(title);
  auto* state =
      new QLabel(QStringLiteral("check: <b style='color:%1'>%2</b>")
                     .arg(CheckStateColour(box.check), CheckStateText(box.check)),
                 controls);
  // Read out by screen readers, which skip the colour.
  state->setAccessibleName(QStringLiteral("check: ") + CheckStateText(box.check));
  row->addWidget(state);
  auto* copy = new QToolButton(controls);
  copy->setText(QStringLiteral("Copy"));
  copy->setToolTip(QStringLiteral("Puts this box's lines on the clipboard"));
  const int tag = static_cast<int>(index);
  connect(copy, &QToolButton::clicked, this, [this, tag] { post_(CopyEvent(tag)); });
  row->addWidget(copy);
  row->addStretch(1);
  copyButtons_.push_back(copy);
  return controls;
}

void HeaderPanelView::ShowWarnings(const std::vector<Text>& warnings) {
  QStringList lines;
  for (const Text& warning : warnings) lines << ToQString(warning);
  warnings_->setText(lines.join(QLatin1Char('\n')));
  warnings_->setVisible(!lines.isEmpty());
}

}  // namespace vt
