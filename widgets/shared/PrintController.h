// The printing frame: print dialog, progress box, preview, printer setup, one printer
// for the whole run.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace velkor {

class Printable;
class Prompter;

class PrintController : public QObject {
    Q_OBJECT

  public:
    PrintController(QWidget* parent, Prompter& prompter);
    ~PrintController() override;

    // Print, direct print or print preview of what; false for any other command.
    bool onPrintCommand(int id, Printable& what);

    // Print (with the print dialog) or direct print (without it).
    void print(Printable& what, bool withDialog);
    void preview(Printable& what);
    void setup();

    QPrinter& printer();
    // Pages sent by the last print, for the caller's checks.
    int pagesPrinted() const { return pagesPrinted_; }
    // False when the last print or direct print sent nothing: nothing to print, the
    // printer failed, or the user cancelled.
    bool lastPrintSucceeded() const { return lastPrintSucceeded_; }

  private:
    bool printPages(Printable& what, QPrinter& printer, int first, int last, bool progress);

    QWidget* parent_;
    Prompter& prompter_;
    std::unique_ptr<QPrinter> printer_;
    int pagesPrinted_ = 0;
    bool lastPrintSucceeded_ = false;
};

}  // namespace velkor
