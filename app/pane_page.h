#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace ziwei::desktop {

// The browser pane's page. The window has one pane and no tabs, so a link
// that asks for a new window (target='_blank') opens in the pane itself.
class PanePage : public QWebEnginePage {
  Q_OBJECT

 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
};

// Catches the first navigation of a would-be new window, hands its address
// to the pane and deletes itself.
class NewWindowCatcher : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit NewWindowCatcher(QWebEnginePage* pane);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  QWebEnginePage* pane_;
};

}  // namespace ziwei::desktop
