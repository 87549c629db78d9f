// Build-time tool: the application icon at the sizes of the desktop's icon
// theme. Usage: kolvi_icon_sizes SOURCE.png OUTPUT_FOLDER SIZE...
// Writes OUTPUT_FOLDER/SIZE.png for each size, smoothly scaled.
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE.png OUTPUT_FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString output = QString::fromLocal8Bit(argv[2]) + '/' + QString::number(size) + ".png";
        if (size <= 0 ||
            !source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(output, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(output));
            return 1;
        }
    }
    return 0;
}
