// Help window over the compiled-in help pages.
#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace velkor {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowTitle("Velkor2tr Help");
    browser_->setSearchPaths({":/help"});
    browser_->setOpenLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(560, 480);
}

void HelpWindow::showPage(const QString& page) {
    browser_->setSource(QUrl("qrc:/help/" + page));
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const {
    return browser_->source().fileName();
}

}  // namespace velkor
