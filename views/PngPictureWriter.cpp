// PNG pictures.
#include "views/PngPictureWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <memory>

#include "views/QPainterSurface.h"

namespace velkor {

bool PngPictureWriter::writePng(const std::string& path, int width, int height,
                                const std::function<void(DrawingSurface&)>& draw) {
    // Text needs the toolkit's fonts, so an application; without a display it draws
    // offscreen.
    int argc = 1;
    char name[] = "velkor2tr-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        draw(surface);
    }
    QSaveFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

}  // namespace velkor
