#include "app/pane_page.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineSettings>

namespace ziwei::desktop {

PanePage::PanePage(QWebEngineView* view, FailedLoadPage offline)
    : QWebEnginePage(view), owner_(view->window()), offline_(std::move(offline)) {}

QWebEnginePage* PanePage::createWindow(WebWindowType /*type*/) {
  auto* window = new LinkWindow(owner_, offline_);
  window->show();
  return window->page();
}

PaneView::PaneView(QWidget* parent) : QWebEngineView(parent) {}

QMenu* PaneView::makeContextMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("paneMenu"));
  const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
  const auto add = [&](const QString& caption, QWebEnginePage::WebAction action) {
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, action] { page()->triggerAction(action); });
    return a;
  };
  add(QStringLiteral("複製"), QWebEnginePage::Copy)
      ->setEnabled(request != nullptr && !request->selectedText().isEmpty());
  add(QStringLiteral("全選"), QWebEnginePage::SelectAll);
  if (request != nullptr && request->linkUrl().isValid()) {
    add(QStringLiteral("複製連結網址"), QWebEnginePage::CopyLinkToClipboard);
  }
  menu->addSeparator();
  connect(menu->addAction(QStringLiteral("預覽列印")), &QAction::triggered, this,
          &PaneView::previewRequested);
  connect(menu->addAction(QStringLiteral("列印…")), &QAction::triggered, this,
          &PaneView::printRequestedFromMenu);
  return menu;
}

void PaneView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = makeContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

LinkWindow::LinkWindow(QWidget* owner, FailedLoadPage offline)
    : QWebEngineView(owner), offline_(std::move(offline)) {
  setObjectName(QStringLiteral("linkWindow"));
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setPage(new PanePage(this, offline_));
  settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  resize(1000, 700);
  connect(this, &QWebEngineView::titleChanged, this, &QWidget::setWindowTitle);
  connect(page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
    if (ok || showedOffline_ || !offline_) return;
    showedOffline_ = true;  // the offline page failing too ends it here
    const QUrl instead = offline_();
    if (!instead.isEmpty()) load(instead);
  });
}

}  // namespace ziwei::desktop
