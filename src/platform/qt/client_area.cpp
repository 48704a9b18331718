#include "platform/qt/client_area.h"

namespace vt {

void ClientArea::Place(QWidget* gadget, const QRect& rect, bool rightFollows,
                       bool bottomFollows) {
  rules_.push_back({gadget, rect, size(), rightFollows, bottomFollows});
  gadget->setGeometry(rect);
}

QRect ClientArea::RectFor(const Rule& rule) const {
  QRect rect = rule.rect;
  if (rule.rightFollows) rect.setWidth(rect.width() + width() - rule.areaSize.width());
  if (rule.bottomFollows)
    rect.setHeight(rect.height() + height() - rule.areaSize.height());
  return rect;
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  for (const Rule& rule : rules_) rule.gadget->setGeometry(RectFor(rule));
}

}  // namespace vt
