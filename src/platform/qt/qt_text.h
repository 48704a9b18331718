// Conversions between the tool's 16-bit text and Qt's strings, which hold the
// same code units.
#pragma once

#include <QString>

#include "base/text.h"

namespace vt {

inline QString ToQString(TextView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()),
                 static_cast<qsizetype>(text.size()));
}

inline Text ToText(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()),
              static_cast<size_t>(text.size()));
}

}  // namespace vt
