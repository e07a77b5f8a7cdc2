// The printing frame: print dialog, progress box, preview, printer setup, one printer
// for the whole run.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace velkor {

class Printable;
class Prompter;

class PrintController : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kNoPrinter =
        "No printer is installed; use Print Preview or export a PDF";
    // Whether the system has a printer at all; tests give their own answer.
    using PrinterCheck = std::function<bool()>;
    static bool printersInstalled();

    PrintController(QWidget* parent, Prompter& prompter);
    ~PrintController() override;

    // Print, direct print or print preview of what; false for any other command.
    bool onPrintCommand(int id, Printable& what);

    // Print (with the print dialog) or direct print (without it).
    void print(Printable& what, bool withDialog);
    void preview(Printable& what);
    void setup();
    // Print... of a window that also prints to PDF: the print dialog when there is a
    // printer; without one, the reason, then a PDF file to print to (cancel: nothing).
    void printOrOfferPdf(Printable& what);
    // Every page into a PDF file, laid out as the tool's PDF documents; false when it
    // cannot be written.
    bool printToPdf(Printable& what, const std::string& path);
    void setPrinterCheck(PrinterCheck check) { hasPrinter_ = std::move(check); }

    QPrinter& printer();
    // Pages sent by the last print, for the caller's checks.
    int pagesPrinted() const { return pagesPrinted_; }
    // False when the last print or direct print sent nothing: nothing to print, the
    // printer failed, or the user cancelled.
    bool lastPrintSucceeded() const { return lastPrintSucceeded_; }

  private:
    bool printPages(Printable& what, QPrinter& printer, int first, int last, bool progress);
    // The printer's pages turned as what asks, if it asks.
    static void turn(Printable& what, QPrinter& printer);

    QWidget* parent_;
    Prompter& prompter_;
    std::unique_ptr<QPrinter> printer_;
    PrinterCheck hasPrinter_ = printersInstalled;
    int pagesPrinted_ = 0;
    bool lastPrintSucceeded_ = false;
};

}  // namespace velkor
