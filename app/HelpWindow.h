// The help window: the program's HTML help pages.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace velkor {

class HelpWindow : public QDialog {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page of the help, by file name ("index.html", "datalist.html", ...).
    void showPage(const QString& page);
    QString currentPage() const;
    // The title of the page shown; empty when it could not be loaded.
    QString pageTitle() const;

  private:
    QTextBrowser* browser_;
};

}  // namespace velkor
