#include "platform/qt/report_page.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/menu_tags.h"

namespace vt {

namespace {

// The pages the tool writes and shows: everything else a link names is a
// file of the user's.
bool IsPage(const QUrl& url) {
  return url.path().endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
}

}  // namespace

ReportPage::ReportPage(Poster post, QObject* parent, Opener open, Teller tell)
    : QWebEnginePage(parent),
      post_(std::move(post)),
      open_(std::move(open)),
      tell_(std::move(tell)) {
  if (!open_) open_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  if (!tell_) tell_ = [](const QString&) {};
}

bool ReportPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (type == NavigationTypeReload) {
    post_(MenuEvent(kMenuReexamine));
    return false;
  }
  if (type == NavigationTypeLinkClicked && url.isLocalFile() && !IsPage(url)) {
    if (!open_(url)) {
      tell_(QStringLiteral("No program here opens %1").arg(url.toLocalFile()));
    }
    return false;
  }
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

}  // namespace vt
