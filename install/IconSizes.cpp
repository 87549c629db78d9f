// Build-time tool: the application icon drawn at the sizes of the desktop's
// icon theme. Usage: kolvi_icon_sizes OUTPUT_FOLDER SIZE...
// Writes OUTPUT_FOLDER/SIZE.png for each size. The icon is the program's
// own (resources/MAINICON.png, two beamed notes on a blue rounded square),
// drawn as shapes on a 64-unit grid, so every size is sharp, 256 px included.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>

namespace {

constexpr double Grid = 64.0;

void drawNoteHead(QPainter& painter, QPointF centre)
{
    painter.save();
    painter.translate(centre);
    painter.rotate(-20);
    painter.drawEllipse(QPointF(0, 0), 9.5, 6.5);
    painter.restore();
}

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Grid, size / Grid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(1, 86, 203));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 11, 11);

    painter.setBrush(Qt::white);
    QPainterPath notes;
    notes.addRect(QRectF(26.5, 14, 5, 33));  // stems
    notes.addRect(QRectF(51, 8, 5, 33));
    notes.moveTo(26.5, 12);  // the beam, rising to the right
    notes.lineTo(56, 5);
    notes.lineTo(56, 13.5);
    notes.lineTo(26.5, 20.5);
    notes.closeSubpath();
    notes.setFillRule(Qt::WindingFill);
    painter.drawPath(notes);
    drawNoteHead(painter, QPointF(22, 46.5));
    drawNoteHead(painter, QPointF(46.5, 40.5));
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString output = QString::fromLocal8Bit(argv[1]) + '/' + QString::number(size) + ".png";
        if (size <= 0 || !drawIcon(size).save(output, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(output));
            return 1;
        }
    }
    return 0;
}
