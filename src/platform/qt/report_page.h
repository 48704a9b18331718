// The report view's page: a click on a source file's link opens the file
// in the user's own program for it, and the report stays; the view's Reload
// asks for the program to be examined again rather than showing the same
// file. A file nothing on the system opens is said in a passing note.
#pragma once

#include <functional>

#include <QWebEnginePage>

#include "platform/events.h"

namespace vt {

class ReportPage : public QWebEnginePage {
 public:
  using Poster = std::function<void(Event)>;
  // Opens a file of the user's; by default in the system's program for it.
  // False when it could not be opened.
  using Opener = std::function<bool(const QUrl&)>;
  // Shows a passing note (in the status line).
  using Teller = std::function<void(const QString&)>;
  ReportPage(Poster post, QObject* parent, Opener open = {}, Teller tell = {});

  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  Poster post_;
  Opener open_;
  Teller tell_;
};

}  // namespace vt
