#include "app/pane_page.h"

namespace ziwei::desktop {

QWebEnginePage* PanePage::createWindow(WebWindowType /*type*/) {
  return new NewWindowCatcher(this);
}

NewWindowCatcher::NewWindowCatcher(QWebEnginePage* pane)
    : QWebEnginePage(pane->profile(), pane), pane_(pane) {}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl& url, NavigationType /*type*/,
                                               bool isMainFrame) {
  if (!isMainFrame) return false;
  pane_->load(url);
  deleteLater();
  return false;
}

}  // namespace ziwei::desktop
