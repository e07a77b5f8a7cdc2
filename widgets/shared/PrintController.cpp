// Printing frame over Qt PrintSupport.
#include "widgets/shared/PrintController.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <optional>

#include "core/CommandTable.h"
#include "core/Prompter.h"
#include "widgets/shared/PngPictureWriter.h"
#include "widgets/shared/Printable.h"

namespace velkor {

bool PrintController::printersInstalled() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

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
    turn(what, p);
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
    turn(what, printer());
    QPrintPreviewDialog dialog(&printer(), parent_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, &what, pages](QPrinter* target) { printPages(what, *target, 1, pages, false); });
    dialog.exec();
}

void PrintController::printOrOfferPdf(Printable& what) {
    if (hasPrinter_()) {
        print(what, true);
        return;
    }
    lastPrintSucceeded_ = false;
    if (what.preparePrinting() <= 0) {
        return;
    }
    prompter_.message(kNoPrinter);
    const std::optional<std::string> path =
        prompter_.askSaveFile("PDF file (*.pdf)|*.pdf||", "pdf");
    if (path && !printToPdf(what, *path)) {
        prompter_.message("The document could not be printed. Check the printer and try again.");
    }
}

bool PrintController::printToPdf(Printable& what, const std::string& path) {
    lastPrintSucceeded_ = false;
    const int pages = what.preparePrinting();
    if (pages <= 0) {
        return false;
    }
    // The pages the tool writes: one layout for every PDF of the program.
    pagesPrinted_ = 0;
    const bool written = PngPictureWriter::writePages(
        path, pages, what.landscape().value_or(false),
        [this, &what](QPainter& painter, int width, int height, int page) {
            what.printPage(painter, width, height, page);
            ++pagesPrinted_;
        });
    lastPrintSucceeded_ = written && pagesPrinted_ == pages;
    return lastPrintSucceeded_;
}

void PrintController::turn(Printable& what, QPrinter& printer) {
    if (const std::optional<bool> landscape = what.landscape()) {
        printer.setPageOrientation(*landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
}

void PrintController::setup() {
    QPageSetupDialog dialog(&printer(), parent_);
    dialog.exec();
}

}  // namespace velkor
