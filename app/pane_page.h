#pragma once

#include <functional>

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

class QMenu;

namespace ziwei::desktop {

// What a window that shows a page of its own does when a load fails: the
// address of the page to show instead (the offline page), or an empty one.
using FailedLoadPage = std::function<QUrl()>;

// The browser pane's page and the pages of the link windows. A link that
// asks for a new window (target='_blank', such as the publisher's link on
// the chart page) opens in a link window of its own, so that the pane keeps
// what it shows.
class PanePage : public QWebEnginePage {
  Q_OBJECT

 public:
  // The page of `view`; link windows belong to the window `view` is in.
  PanePage(QWebEngineView* view, FailedLoadPage offline);

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  QWidget* owner_;
  FailedLoadPage offline_;
};

// The pane: its right-click menu offers, in Chinese, what works in it (copy,
// select all, copy a link's address, print preview, print) and no history
// of pages, which the window does not keep.
class PaneView : public QWebEngineView {
  Q_OBJECT

 public:
  explicit PaneView(QWidget* parent);

  // The menu for the last right-click, as shown.
  QMenu* makeContextMenu();

 signals:
  void previewRequested();
  void printRequestedFromMenu();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
};

// A window of its own showing one page opened from a link of the pane. It
// deletes itself when closed and goes with the window that opened it; a load
// that fails shows the offline page once.
class LinkWindow : public QWebEngineView {
  Q_OBJECT

 public:
  LinkWindow(QWidget* owner, FailedLoadPage offline);

 private:
  FailedLoadPage offline_;
  bool showedOffline_ = false;
};

}  // namespace ziwei::desktop
