// Renders the icon's SVG to a square PNG of one size, at build time: the icon is drawn only from
// rounded rectangles and circles, so these few lines read it and QtSvg is not needed.
//   render_icon ICON.svg SIZE OUT.png
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    QFile svg(QString::fromLocal8Bit(argv[1]));
    const int size = QByteArray(argv[2]).toInt();
    if (!svg.open(QIODevice::ReadOnly) || size <= 0) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QXmlStreamReader xml(&svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const auto number = [&a](const char* name) { return a.value(QLatin1String(name)).toDouble(); };
        if (xml.name() == QLatin1String("svg")) {
            painter.scale(size / number("width"), size / number("height"));
            continue;
        }
        painter.setBrush(QColor(a.value(QLatin1String("fill")).toString()));
        if (xml.name() == QLatin1String("rect"))
            painter.drawRoundedRect(QRectF(number("x"), number("y"), number("width"), number("height")),
                                    number("rx"), number("rx"));
        else if (xml.name() == QLatin1String("circle"))
            painter.drawEllipse(QPointF(number("cx"), number("cy")), number("r"), number("r"));
    }
    painter.end();
    if (xml.hasError() || !image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "render_icon: cannot render %s\n", argv[1]);
        return 1;
    }
    return 0;
}
