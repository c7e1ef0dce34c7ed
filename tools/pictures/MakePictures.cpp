// vropictures: draws the two pictures the programs ship, resources/Banner.bmp (the main window
// while no database is open) and resources/Splash.bmp (the launcher), from the program's
// icons. Run by the target "pictures"; the BMP files are committed, so a build needs no run.
//   vropictures ICONS_DIR OUT_DIR [PREVIEW_DIR]   (PREVIEW_DIR: the same pictures as PNG)
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cstdio>

namespace {

const QColor Blue(0x2f, 0x74, 0xc0);
const QColor DarkBlue(0x1e, 0x4f, 0x86);
const QColor PaleBlue(0xdb, 0xe8, 0xf6);
const QColor Ink(0x1d, 0x28, 0x33);
const QColor Grey(0x5d, 0x6b, 0x79);

QString IconsDir;

void DrawIcon(QPainter& p, const QString& name, const QRectF& where) {
    QSvgRenderer icon(IconsDir + QLatin1Char('/') + name + QStringLiteral(".svg"));
    icon.render(&p, where);
}

// Pixel sizes, so that the pictures do not depend on the screen's resolution.
QFont Font(int pixels, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The trace of the icon's display, drawn large and faint behind the text.
void DrawWave(QPainter& p, const QRectF& area, const QColor& colour, qreal width) {
    QPainterPath wave(QPointF(area.left(), area.center().y()));
    const qreal step = area.width() / 6;
    for (int i = 0; i < 6; ++i) {
        const qreal x = area.left() + i * step;
        const qreal peak = i % 2 ? area.bottom() : area.top();
        wave.cubicTo(x + step * 0.33, peak, x + step * 0.67, peak, x + step, area.center().y());
    }
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

// What a newcomer sees in the empty main window: what the program is, and how to begin.
QImage Banner() {
    QImage image(600, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF band(0, 0, 600, 118);
    QLinearGradient sky(band.topLeft(), band.bottomRight());
    sky.setColorAt(0, Blue);
    sky.setColorAt(1, DarkBlue);
    p.fillRect(band, sky);
    DrawWave(p, QRectF(330, 30, 250, 60), QColor(255, 255, 255, 40), 5);
    DrawIcon(p, QStringLiteral("vroview"), QRectF(28, 23, 72, 72));
    p.setPen(Qt::white);
    p.setFont(Font(40, true));
    p.drawText(QRectF(118, 18, 460, 52), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VroView"));
    p.setPen(PaleBlue);
    p.setFont(Font(16));
    p.drawText(QRectF(120, 68, 460, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("for the Vireo power and energy recorder"));

    p.setPen(Ink);
    p.setFont(Font(17, true));
    p.drawText(QRectF(40, 138, 520, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("To begin:"));
    const struct {
        const char* icon;
        const char* command;
        const char* does;
    } hints[] = {{"new", "File \u203a New", "downloads a recording from the instrument"},
                 {"open", "File \u203a Open", "opens a saved recording"},
                 {"import", "File \u203a Import", "reads a 1.x export file"}};
    qreal y = 178;
    for (const auto& hint : hints) {
        DrawIcon(p, QLatin1String(hint.icon), QRectF(44, y + 2, 28, 28));
        p.setFont(Font(16, true));
        const QString command = QString::fromUtf8(hint.command);
        p.drawText(QRectF(88, y, 480, 32), Qt::AlignLeft | Qt::AlignVCenter, command);
        const qreal indent = QFontMetricsF(p.font()).horizontalAdvance(command + QLatin1Char(' '));
        p.setFont(Font(16));
        p.drawText(QRectF(88 + indent, y, 480 - indent, 32), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(hint.does));
        y += 44;
    }

    p.setPen(QColor(0xd5, 0xdb, 0xe1));
    p.drawLine(QPointF(40, 322), QPointF(560, 322));
    p.setPen(Grey);
    p.setFont(Font(13));
    p.drawText(QRectF(40, 326, 520, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Help \u203a Contents tells more; Edit \u203a Settings hides "
                                 "this picture."));
    p.setPen(QColor(0xc9, 0xd3, 0xdd));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(QRect(0, 0, 599, 359));
    return image;
}

// Shown by the launcher while the program starts: the name and the version.
QImage Splash(const QString& version) {
    QImage image(480, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, Blue);
    sky.setColorAt(1, DarkBlue);
    p.fillRect(image.rect(), sky);
    DrawWave(p, QRectF(-20, 205, 520, 60), QColor(255, 255, 255, 36), 6);

    DrawIcon(p, QStringLiteral("vroview"), QRectF(40, 62, 104, 104));
    p.setPen(Qt::white);
    p.setFont(Font(50, true));
    p.drawText(QRectF(168, 58, 300, 64), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VroView"));
    p.setPen(PaleBlue);
    p.setFont(Font(20));
    p.drawText(QRectF(172, 122, 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version ") + version);
    p.setFont(Font(14));
    p.drawText(QRectF(172, 150, 300, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vireo power and energy recorder"));
    p.setPen(Qt::white);
    p.setFont(Font(13));
    p.drawText(QRectF(40, 262, 400, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Starting\u2026"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: vropictures ICONS_DIR OUT_DIR [PREVIEW_DIR]\n");
        return 2;
    }
    IconsDir = args[1];
    const std::pair<const char*, QImage> pictures[] = {{"Banner", Banner()},
                                                       {"Splash", Splash(VRO_VERSION)}};
    for (const auto& [name, image] : pictures) {
        const QString bmp = args[2] + QLatin1Char('/') + QLatin1String(name) + ".bmp";
        if (!image.save(bmp, "BMP")) {
            std::fprintf(stderr, "vropictures: cannot write %s\n", qPrintable(bmp));
            return 1;
        }
        std::printf("%s\n", qPrintable(bmp));
        if (args.size() > 3)
            image.save(args[3] + QLatin1Char('/') + QLatin1String(name) + ".png", "PNG");
    }
    return 0;
}
