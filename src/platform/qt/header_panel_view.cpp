#include "platform/qt/header_panel_view.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/menu_tags.h"
#include "platform/qt/qt_text.h"

namespace vt {

namespace {

// What a row of the tree is.
enum RowKind { kBoxRow = 1, kLineRow, kFindingsRow, kFindingRow };
constexpr int kKindRole = Qt::UserRole;
constexpr int kBoxRole = Qt::UserRole + 1;
// The lines come first; the reasons keep at least this much room, enough to
// show that there is one (the whole of it is in its tooltip).
constexpr int kReasonRoom = 64;

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

// A label that gives up width before anything beside it does, and then ends
// its text in an ellipsis.
class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override { return QSize(16, QLabel::minimumSizeHint().height()); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, width());
    painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, shown);
  }
};

int KindOf(const QTreeWidgetItem* item) { return item ? item->data(0, kKindRole).toInt() : 0; }

}  // namespace

QColor HeaderPanelView::CheckStateColour(HeaderCheckState state, const QPalette& palette) {
  const bool dark = palette.color(QPalette::Base).lightness() < 128;
  if (state == HeaderCheckState::Matches) {
    return dark ? QColor(0x56, 0xd3, 0x64) : QColor(0x11, 0x63, 0x29);
  }
  return dark ? QColor(0xff, 0x8e, 0x86) : QColor(0xb3, 0x26, 0x1e);
}

HeaderPanelView::HeaderPanelView(Poster post, QWidget* parent)
    : QWidget(parent), post_(std::move(post)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 0, 0, 0);
  auto* blockLabel = new QLabel(QStringLiteral("Framework &block:"), this);
  layout->addWidget(blockLabel);

  blockChoice_ = new QComboBox(this);
  // Long block titles must not hold the panel wide.
  blockChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  blockChoice_->setMinimumContentsLength(12);
  blockLabel->setBuddy(blockChoice_);
  layout->addWidget(blockChoice_);
  connect(blockChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) post_(BlockEvent(index));
  });

  boxes_ = new QTreeWidget(this);
  boxes_->setColumnCount(2);
  boxes_->setHeaderLabels({QStringLiteral("Header lines"), QStringLiteral("Why")});
  boxes_->setRootIsDecorated(true);
  boxes_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  boxes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  boxes_->setTextElideMode(Qt::ElideRight);
  // The reasons take what the lines leave (FitColumns), down to a few
  // letters and an ellipsis.
  boxes_->header()->setStretchLastSection(false);
  boxes_->header()->setMinimumSectionSize(24);
  boxes_->setMinimumWidth(120);
  boxes_->viewport()->installEventFilter(this);
  layout->addWidget(boxes_, 1);

  auto* copy = new QShortcut(QKeySequence::Copy, boxes_, [this] { CopySelection(); });
  copy->setContext(Qt::WidgetShortcut);
  auto* copyBox = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this, [this] {
    if (int box = FocusedBox(); box >= 0) post_(CopyEvent(box));
  });
  copyBox->setContext(Qt::WidgetWithChildrenShortcut);

  warnings_ = new QLabel(this);
  warnings_->setWordWrap(true);
  warnings_->setTextFormat(Qt::PlainText);
  QPalette warningColours = warnings_->palette();
  warningColours.setColor(QPalette::WindowText,
                          CheckStateColour(HeaderCheckState::Differs, palette()));
  warnings_->setPalette(warningColours);
  warnings_->hide();
  layout->addWidget(warnings_);

  apply_ = new QPushButton(QStringLiteral("&Apply to files\u2026"), this);
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
  // What differs opens on request: the lines come first.
  for (size_t i = 0; i < content.boxes.size(); ++i) {
    if (QTreeWidgetItem* findings = Findings(i)) findings->setExpanded(false);
  }
  boxes_->resizeColumnToContents(0);
  linesWidth_ = boxes_->columnWidth(0);
  FitColumns();
  ShowWarnings(content.warnings);
  OrderTabs();
}

QTreeWidgetItem* HeaderPanelView::Findings(size_t index) const {
  QTreeWidgetItem* top = boxes_->topLevelItem(static_cast<int>(index));
  for (int i = 0; top && i < top->childCount(); ++i) {
    if (KindOf(top->child(i)) == kFindingsRow) return top->child(i);
  }
  return nullptr;
}

// The lines column takes what its widest line needs, leaving the reasons
// some room; the reasons take the rest and are elided in it.
void HeaderPanelView::FitColumns() {
  const int room = boxes_->viewport()->width();
  if (room <= 0) return;
  const int lines = std::max(40, std::min(linesWidth_, room - kReasonRoom));
  boxes_->setColumnWidth(0, lines);
  boxes_->setColumnWidth(1, std::max(24, room - lines));
}

bool HeaderPanelView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == boxes_->viewport() && event->type() == QEvent::Resize) FitColumns();
  return QWidget::eventFilter(watched, event);
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
  top->setData(0, kKindRole, kBoxRow);
  top->setData(0, kBoxRole, static_cast<int>(index));
  // The title row spans both columns, so its Copy button is never cut off.
  top->setFirstColumnSpanned(true);
  boxes_->setItemWidget(top, 0, BoxTitleRow(box, index));
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const QBrush quiet = palette().brush(QPalette::Disabled, QPalette::Text);
  for (const PanelLine& line : box.lines) {
    auto* item = new QTreeWidgetItem(top, {ToQString(line.text), ToQString(line.reason)});
    item->setData(0, kKindRole, kLineRow);
    item->setFont(0, fixed);
    QString tip = ToQString(line.text);
    if (!line.reason.empty()) tip += QLatin1Char('\n') + ToQString(line.reason);
    item->setToolTip(0, tip);
    item->setToolTip(1, ToQString(line.reason));
    item->setForeground(1, quiet);
  }
  AddFindings(top, box);
}

void HeaderPanelView::AddFindings(QTreeWidgetItem* top, const PanelBox& box) {
  if (box.findings.empty()) return;
  // A header that matches may still have notes (a module not installed).
  const QString title = box.check == HeaderCheckState::Matches ? QStringLiteral("Check notes (%1)")
                                                               : QStringLiteral("What differs (%1)");
  auto* findings = new QTreeWidgetItem(top, {title.arg(box.findings.size())});
  findings->setData(0, kKindRole, kFindingsRow);
  findings->setFirstColumnSpanned(true);
  const QColor colour = CheckStateColour(box.check, palette());
  findings->setForeground(0, colour);
  for (const Text& finding : box.findings) {
    auto* item = new QTreeWidgetItem(findings, {ToQString(finding)});
    item->setData(0, kKindRole, kFindingRow);
    item->setFirstColumnSpanned(true);
    item->setToolTip(0, ToQString(finding));
    item->setForeground(0, colour);
  }
}

// The box's Copy button and check state come first on its title row, so
// that a narrow panel cuts only the file's name.
QWidget* HeaderPanelView::BoxTitleRow(const PanelBox& box, size_t index) {
  auto* controls = new QWidget(boxes_);
  auto* row = new QHBoxLayout(controls);
  row->setContentsMargins(0, 1, 0, 1);
  auto* copy = new QToolButton(controls);
  copy->setText(QStringLiteral("&Copy"));
  copy->setFocusPolicy(Qt::StrongFocus);
  copy->setToolTip(QStringLiteral("Puts this box's lines on the clipboard (Ctrl+Shift+C)"));
  copy->setProperty("box", static_cast<int>(index));
  const int tag = static_cast<int>(index);
  connect(copy, &QToolButton::clicked, this, [this, tag] { post_(CopyEvent(tag)); });
  row->addWidget(copy);
  copyButtons_.push_back(copy);

  const QString stateText = CheckStateText(box.check);
  auto* state = new QLabel(controls);
  state->setText(QStringLiteral("<b style='color:%1'>%2</b>")
                     .arg(CheckStateColour(box.check, palette()).name(), stateText));
  // Read out by screen readers, which skip the colour.
  state->setAccessibleName(QStringLiteral("check: ") + stateText);
  QStringList findings;
  for (const Text& finding : box.findings) findings << ToQString(finding);
  state->setToolTip(findings.isEmpty() ? QStringLiteral("The header is as this block has it")
                                       : findings.join(QLatin1Char('\n')));
  row->addWidget(state);

  auto* title = new ElidedLabel(controls);
  title->setText(ToQString(box.title));
  title->setToolTip(ToQString(box.file));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  row->addWidget(title, 1);
  return controls;
}

int HeaderPanelView::FocusedBox() const {
  for (size_t i = 0; i < copyButtons_.size(); ++i) {
    if (copyButtons_[i]->hasFocus()) return static_cast<int>(i);
  }
  QTreeWidgetItem* item = boxes_->currentItem();
  while (item && item->parent()) item = item->parent();
  if (item) return item->data(0, kBoxRole).toInt();
  return copyButtons_.empty() ? -1 : 0;
}

void HeaderPanelView::CopySelection() {
  QTreeWidgetItem* current = boxes_->currentItem();
  if (KindOf(current) == kBoxRow) {
    post_(CopyEvent(current->data(0, kBoxRole).toInt()));
    return;
  }
  // In the tree's order, not the order they were picked in.
  QString text;
  for (QTreeWidgetItemIterator it(boxes_); *it; ++it) {
    const int kind = KindOf(*it);
    if (!(*it)->isSelected() || (kind != kLineRow && kind != kFindingRow)) continue;
    text += (*it)->text(0) + QLatin1Char('\n');
  }
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void HeaderPanelView::ShowWarnings(const std::vector<Text>& warnings) {
  QStringList lines;
  for (const Text& warning : warnings) lines << ToQString(warning);
  warnings_->setText(lines.join(QLatin1Char('\n')));
  warnings_->setVisible(!lines.isEmpty());
}

// The keyboard goes through the panel as the eye does: the block, the
// boxes, each Copy button, then Apply.
void HeaderPanelView::OrderTabs() {
  QWidget* last = boxes_;
  QWidget::setTabOrder(blockChoice_, boxes_);
  for (QAbstractButton* copy : copyButtons_) {
    QWidget::setTabOrder(last, copy);
    last = copy;
  }
  QWidget::setTabOrder(last, apply_);
}

}  // namespace vt
