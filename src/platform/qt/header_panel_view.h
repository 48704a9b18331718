// The header panel beside the report: the chosen framework block's code
// boxes with their lines, reasons and check states, a Copy button per box,
// the walk's warnings and the Apply button. It only shows what it is given
// and posts events; the main routine acts on them.
#pragma once

#include <QComboBox>
#include <QLabel>
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

 private:
  void ShowBlockTitles(const HeaderPanelContent& content);
  void FitLinesColumn();
  void AddBox(const PanelBox& box, size_t index);
  QWidget* BoxTitleRow(const PanelBox& box, size_t index);
  void ShowWarnings(const std::vector<Text>& warnings);

  Poster post_;
  QComboBox* blockChoice_ = nullptr;
  QTreeWidget* boxes_ = nullptr;
  QLabel* warnings_ = nullptr;
  QPushButton* apply_ = nullptr;
  std::vector<QAbstractButton*> copyButtons_;
};

}  // namespace vt
