// PNG pictures.
#include "views/PngPictureWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string_view>

#include "data/SafeFileWriter.h"
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
    // Encoded in memory, then written as every other file is, so a target the safe
    // writer refuses is refused here too.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return false;
    }
    SafeFileWriter file(path);
    if (file.open()) {
        file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    return file.commit();
}

}  // namespace velkor
