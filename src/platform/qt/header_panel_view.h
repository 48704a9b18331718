// The header panel beside the report: the chosen framework block's code
// boxes with their lines, reasons, check states and what differs, a Copy
// button per box, the walk's warnings and the Apply button. It fits any
// width: columns are fitted to the panel and long texts elided, with the
// whole text in a tooltip. It only shows what it is given and posts events;
// the main routine acts on them.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/events.h"
#include "platform/header_panel_content.h"

namespace vt {

class HeaderPanelView : public QWidget {
 public:
  using Poster = std::function<void(Event)>;

  HeaderPanelView(Poster post, QWidget* parent);

  void Show(const HeaderPanelContent& content);

  QComboBox* BlockChoice() const { return blockChoice_; }
  QTreeWidget* Boxes() const { return boxes_; }
  QLabel* Warnings() const { return warnings_; }
  QPushButton* ApplyButton() const { return apply_; }
  // The Copy button of box `index`, from 0.
  QAbstractButton* CopyButton(size_t index) const { return copyButtons_.at(index); }
  // The item that holds what differs in box `index`, or null when it matches.
  QTreeWidgetItem* Findings(size_t index) const;
  // The box the keyboard is in: the one of the current row or of the
  // focused Copy button; none before the panel has boxes.
  int FocusedBox() const;
  // Puts the lines selected in the tree on the clipboard, or the whole box
  // when its title row is the current one.
  void CopySelection();

  // A colour for a check state that reads on `palette`'s base, light or
  // dark, with at least the contrast the accessibility guidelines ask.
  static QColor CheckStateColour(HeaderCheckState state, const QPalette& palette);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowBlockTitles(const HeaderPanelContent& content);
  void FitColumns();
  void AddBox(const PanelBox& box, size_t index);
  void AddFindings(QTreeWidgetItem* top, const PanelBox& box);
  QWidget* BoxTitleRow(const PanelBox& box, size_t index);
  void ShowWarnings(const std::vector<Text>& warnings);
  void OrderTabs();

  Poster post_;
  QComboBox* blockChoice_ = nullptr;
  QTreeWidget* boxes_ = nullptr;
  QLabel* warnings_ = nullptr;
  QPushButton* apply_ = nullptr;
  std::vector<QAbstractButton*> copyButtons_;
  // The widest line, as the tree measured it when the boxes were shown.
  int linesWidth_ = 0;
};

}  // namespace vt
