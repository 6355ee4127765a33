// Renders the device drawings (SVG) into the bitmaps the windows load.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: svg2bmp SOURCE_DIR PICTURE_DIR\n";
        return 2;
    }
    QDir().mkpath(args[1]);
    int failures = 0;
    const auto files = QDir(args[0]).entryInfoList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QFileInfo& fi : files) {
        QSvgRenderer svg(fi.absoluteFilePath());
        if (!svg.isValid()) {
            err << "error: cannot read " << fi.fileName() << '\n';
            ++failures;
            continue;
        }
        QImage image(svg.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        svg.render(&painter);
        painter.end();
        const QString target = QDir(args[1]).filePath(fi.completeBaseName() + QStringLiteral(".bmp"));
        const QFileInfo out(target);
        if (out.exists() && out.lastModified() >= fi.lastModified())
            continue;
        if (!image.save(target, "BMP")) {
            err << "error: cannot write " << target << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
