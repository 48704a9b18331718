// The inside of the main window between menu bar and status line. It keeps
// its gadgets in place by per-edge rules when the window is resized.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace vt {

class ClientArea : public QWidget {
 public:
  using QWidget::QWidget;

  // Puts `gadget` at `rect`, measured against the area's present size. Its
  // left and top edges keep their distance to the area's left and top. Its
  // right and bottom edges either follow the area's right and bottom edges
  // or keep the gadget's width and height.
  void Place(QWidget* gadget, const QRect& rect, bool rightFollows, bool bottomFollows);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Rule {
    QWidget* gadget;
    QRect rect;
    QSize areaSize;  // the area's size when the gadget was placed
    bool rightFollows;
    bool bottomFollows;
  };

  QRect RectFor(const Rule& rule) const;

  std::vector<Rule> rules_;
};

}  // namespace vt
