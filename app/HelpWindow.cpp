// Help window over the compiled-in help pages.
#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The pages live in a static library: their resource must be registered by hand.
static void registerHelpPages() {
    Q_INIT_RESOURCE(help);
}

namespace velkor {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    registerHelpPages();
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

QString HelpWindow::pageTitle() const {
    return browser_->documentTitle();
}

}  // namespace velkor
