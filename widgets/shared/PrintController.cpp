// Printing frame over Qt PrintSupport.
#include "widgets/shared/PrintController.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include "core/CommandTable.h"
#include "core/Prompter.h"
#include "widgets/shared/Printable.h"

namespace velkor {

PrintController::PrintController(QWidget* parent, Prompter& prompter)
    : QObject(parent), parent_(parent), prompter_(prompter) {}

PrintController::~PrintController() = default;

QPrinter& PrintController::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

bool PrintController::printPages(Printable& what, QPrinter& printer, int first, int last,
                                 bool progress) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    std::unique_ptr<QProgressDialog> box;
    if (progress) {
        box = std::make_unique<QProgressDialog>("Printing...", "Cancel", 0, last - first + 1,
                                                parent_);
        box->setWindowTitle("Velkor2tr");
        box->setWindowModality(Qt::WindowModal);
        box->setMinimumDuration(0);
    }
    for (int p = first; p <= last; ++p) {
        if (box) {
            box->setValue(p - first);
            QApplication::processEvents();
            if (box->wasCanceled()) {
                printer.abort();
                return true;
            }
        }
        if (p > first) {
            printer.newPage();
        }
        what.printPage(painter, page.width(), page.height(), p);
        ++pagesPrinted_;
    }
    return painter.end();
}

bool PrintController::onPrintCommand(int id, Printable& what) {
    switch (id) {
        case cmd::Print:
            print(what, true);
            return true;
        case cmd::PrintDirect:
            print(what, false);
            return true;
        case cmd::PrintPreview:
            preview(what);
            return true;
        default:
            return false;
    }
}

void PrintController::print(Printable& what, bool withDialog) {
    lastPrintSucceeded_ = false;
    const int pages = what.preparePrinting();
    if (pages <= 0) {
        return;
    }
    QPrinter& p = printer();
    int first = 1;
    int last = pages;
    if (withDialog) {
        QPrintDialog dialog(&p, parent_);
        dialog.setMinMax(1, pages);
        dialog.setFromTo(1, pages);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages > 1);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        if (p.printRange() == QPrinter::PageRange) {
            first = std::max(1, p.fromPage());
            last = std::min(pages, p.toPage());
        }
    }
    pagesPrinted_ = 0;
    if (!printPages(what, p, first, last, withDialog)) {
        prompter_.message("The document could not be printed. Check the printer and try again.");
        return;
    }
    lastPrintSucceeded_ = pagesPrinted_ == last - first + 1;
}

void PrintController::preview(Printable& what) {
    const int pages = what.preparePrinting();
    if (pages <= 0) {
        return;
    }
    QPrintPreviewDialog dialog(&printer(), parent_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, &what, pages](QPrinter* target) { printPages(what, *target, 1, pages, false); });
    dialog.exec();
}

void PrintController::setup() {
    QPageSetupDialog dialog(&printer(), parent_);
    dialog.exec();
}

}  // namespace velkor
