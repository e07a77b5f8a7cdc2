// PNG pictures.
#include "widgets/shared/PngPictureWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string_view>

#include "core/SafeFileWriter.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {
namespace {

// Text needs the toolkit's fonts, so an application; without a display it draws offscreen.
class Toolkit {
  public:
    Toolkit() {
        if (QCoreApplication::instance() == nullptr) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        }
    }

  private:
    int argc_ = 1;
    char name_[14] = "velkor2tr-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

// Written as every other file is, so a target the safe writer refuses is refused here too.
bool writeBytes(const std::string& path, const QByteArray& bytes) {
    SafeFileWriter file(path);
    if (file.open()) {
        file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    return file.commit();
}

}  // namespace

bool PngPictureWriter::writePng(const std::string& path, int width, int height,
                                const std::function<void(DrawingSurface&)>& draw) {
    const Toolkit toolkit;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        draw(surface);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return false;
    }
    return writeBytes(path, bytes);
}

bool PngPictureWriter::writePages(const std::string& path, int pageCount, bool landscape,
                                  const PagePainter& paint) {
    if (pageCount <= 0) {
        return false;
    }
    const Toolkit toolkit;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        return false;
    }
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator("Velkor2tr");
        pdf.setResolution(kPdfResolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        QPainter painter;
        if (!painter.begin(&pdf)) {
            return false;
        }
        for (int p = 1; p <= pageCount; ++p) {
            if (p > 1) {
                pdf.newPage();
            }
            paint(painter, page.width(), page.height(), p);
        }
        if (!painter.end()) {
            return false;
        }
    }
    return writeBytes(path, bytes);
}

bool PngPictureWriter::writePdf(const std::string& path, int pageCount,
                                const PageDrawer& drawPage) {
    return writePages(path, pageCount, false, [&drawPage](QPainter& painter, int w, int h, int p) {
        QPainterSurface surface(painter);
        drawPage(surface, w, h, p);
    });
}

bool PngPictureWriter::writeLandscapePdf(const std::string& path, int pageCount,
                                         const PageDrawer& drawPage) {
    return writePages(path, pageCount, true, [&drawPage](QPainter& painter, int w, int h, int p) {
        QPainterSurface surface(painter);
        drawPage(surface, w, h, p);
    });
}

}  // namespace velkor
