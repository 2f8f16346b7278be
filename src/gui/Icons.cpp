#include "Icons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tessel::gui {

namespace {

// The colour the SVG files draw their lines in; replaced by the palette's when drawn.
const QString kInk = QStringLiteral("#2a2a2a");

QByteArray svgText(const QString& name) {
    QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QIcon rendered(const QByteArray& svg, std::initializer_list<int> sizes) {
    QSvgRenderer renderer(svg);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon toolIcon(const QString& name, const QPalette& palette) {
    QString svg = QString::fromUtf8(svgText(name));
    svg.replace(kInk, palette.color(QPalette::WindowText).name(), Qt::CaseInsensitive);
    return rendered(svg.toUtf8(), {16, 24, 32, 48, 64});
}

QIcon applicationIcon() {
    return rendered(svgText(QStringLiteral("org.tessel.Tessel")), {16, 32, 48, 64, 128, 256});
}

}  // namespace tessel::gui
