// Draws the application's own pictures into res/bitmaps as PNG files: the main
// window's picture buttons (bitmaps 155 to 160), the weather service's logo
// (161) and credit line (162); and the application's icon (icon 128, 16 to 128
// pixels) into res/icons beside it, whose 48 and 128 pixel pictures are also the
// desktop's icon. Run it after changing the artwork:
// cirrovan_make_bitmaps <repo>/res/bitmaps

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The pictures are drawn in device pixels; the scale (1 to 4) sets how many of
// the image's pixels each of them gets, each way.
int g_nScale = 1;

QImage NewImage(int nWidth, int nHeight)
{
    QImage image(nWidth * g_nScale, nHeight * g_nScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(g_nScale);
    return image;
}

void DrawCloud(QPainter& p, double x, double y, double scale, const QColor& fill)
{
    // Overlapping parts make one shape only under the winding rule; the default
    // odd-even rule leaves holes where they overlap.
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addEllipse(QRectF(x, y + 6 * scale, 14 * scale, 10 * scale));
    cloud.addEllipse(QRectF(x + 7 * scale, y, 14 * scale, 14 * scale));
    cloud.addEllipse(QRectF(x + 16 * scale, y + 5 * scale, 12 * scale, 11 * scale));
    cloud.addRect(QRectF(x + 5 * scale, y + 9 * scale, 18 * scale, 7 * scale));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(cloud.simplified());
}

QImage Logo()
{
    QImage image = NewImage(56, 44);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 44);
    sky.setColorAt(0, QColor(64, 130, 220));
    sky.setColorAt(1, QColor(22, 64, 150));
    p.setPen(QPen(QColor(16, 44, 110), 1));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0.5, 0.5, 55, 43), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 196, 40));
    p.drawEllipse(QRectF(29, 4, 17, 17));
    DrawCloud(p, 8, 8, 1.05, QColor(250, 250, 255));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 28, 56, 13), Qt::AlignCenter, QStringLiteral("weather"));
    return image;
}

// The credit line's first words only: the About dialog writes the configured
// service's name into the white below them (rows 11 to 31) when it opens, so the
// picture never names another service than the one in use.
QImage Credit()
{
    QImage image = NewImage(70, 32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(0, 0, 70, 11), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("forecasts by"));
    return image;
}

// The face of a picture button, as the main window's view buttons look beside
// it: light grey with a grey rim, a shade darker while pressed.
QImage ButtonFace(int nWidth, int nHeight, bool bPressed)
{
    QImage image = NewImage(nWidth, nHeight);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(138, 138, 138), 1));
    p.setBrush(bPressed ? QColor(208, 212, 220) : QColor(240, 240, 240));
    p.drawRoundedRect(QRectF(0.5, 0.5, nWidth - 1, nHeight - 1), 3, 3);
    return image;
}

// Update (155, 26 x 26): two arrows chasing each other round a circle; pressed
// (156), a green dot in the middle.
QImage UpdateButton(bool bPressed)
{
    QImage image = ButtonFace(26, 26, bPressed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(13, 13);
    const qreal radius = 7.5;
    const QColor arrow(28, 63, 140);
    for (int half = 0; half < 2; ++half) {
        // Each arrow runs over most of a half circle, clockwise, head at its end.
        const qreal startDeg = 200 + half * 180;
        const qreal spanDeg = -130;
        p.setPen(QPen(arrow, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                  static_cast<int>(startDeg * 16), static_cast<int>(spanDeg * 16));
        const qreal endRad = (startDeg + spanDeg) * M_PI / 180;
        const QPointF tip = centre + QPointF(std::cos(endRad), -std::sin(endRad)) * radius;
        // Clockwise on screen: the head points along the circle's tangent.
        const QPointF along(std::sin(endRad), std::cos(endRad));
        const QPointF across(std::cos(endRad), -std::sin(endRad));
        QPolygonF head;
        head << tip + along * 3.6 << tip + across * 3.4 - along * 1.2 << tip - across * 3.4 - along * 1.2;
        p.setPen(Qt::NoPen);
        p.setBrush(arrow);
        p.drawPolygon(head);
    }
    if (bPressed) {
        p.setPen(QPen(QColor(0, 110, 0), 1));
        p.setBrush(QColor(40, 200, 40));
        p.drawEllipse(centre, 3.2, 3.2);
    }
    return image;
}

// Daily (159, 32 x 26): a calendar page with a large red figure one, in a black
// frame; pressed (158), the frame blue.
QImage CalendarButton(bool bPressed)
{
    QImage image = ButtonFace(32, 26, bPressed);
    QPainter p(&image);
    const QColor frame = bPressed ? QColor(0, 0, 255) : QColor(0, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRect(8, 4, 16, 18));
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRect(8, 4, 16, 4));
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(8, 4, 15, 17));
    p.drawLine(11, 3, 11, 5);
    p.drawLine(20, 3, 20, 5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(220, 0, 0));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawText(QRect(8, 8, 16, 14), Qt::AlignCenter, QStringLiteral("1"));
    return image;
}

// Hour by hour (157, 32 x 26): a clock face, black; pressed (160), blue.
QImage ClockButton(bool bPressed)
{
    QImage image = ButtonFace(32, 26, bPressed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = bPressed ? QColor(0, 0, 255) : QColor(0, 0, 0);
    const QPointF centre(16, 13);
    const qreal radius = 9;
    p.setPen(QPen(ink, 1.4));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    for (int hour = 0; hour < 12; hour += 3) {
        const qreal a = hour * M_PI / 6;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(centre + dir * (radius - 2.6), centre + dir * (radius - 0.8));
    }
    // Ten past ten.
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal hourAngle = (10 + 10 / 60.0) * M_PI / 6;
    const qreal minuteAngle = 10 * M_PI / 30;
    p.drawLine(centre, centre + QPointF(std::sin(hourAngle), -std::cos(hourAngle)) * 4.6);
    p.drawLine(centre, centre + QPointF(std::sin(minuteAngle), -std::cos(minuteAngle)) * 6.8);
    p.setBrush(ink);
    p.drawEllipse(centre, 1.1, 1.1);
    return image;
}

// The application's icon: the sun behind a cloud, drawn on a grid of 128 units
// for every size. Below 32 pixels the sun loses its rays and grows, and the
// outlines keep at least a pixel, so that the small icon still reads.
QImage Icon(int nPixels)
{
    QImage image(nPixels, nPixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(nPixels / 128.0, nPixels / 128.0);
    const qreal unit = 128.0 / nPixels;   // one pixel in grid units
    const bool small = nPixels < 32;

    const QPointF sun(small ? 82 : 78, small ? 42 : 48);
    const qreal radius = small ? 36 : 25;
    if (!small) {
        p.setPen(QPen(QColor(240, 150, 0), std::max(7.0, 1.4 * unit), Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4 + M_PI / 8;
            p.drawLine(sun + QPointF(std::cos(a), std::sin(a)) * (radius + 9),
                       sun + QPointF(std::cos(a), std::sin(a)) * (radius + 18));
        }
    }
    QRadialGradient glow(sun - QPointF(8, 8), radius * 1.4);
    glow.setColorAt(0, QColor(255, 232, 110));
    glow.setColorAt(1, QColor(255, 168, 0));
    p.setPen(QPen(QColor(214, 112, 0), std::max(3.0, unit)));
    p.setBrush(glow);
    p.drawEllipse(sun, radius, radius);

    QPainterPath cloud;
    cloud.addRoundedRect(QRectF(8, 74, 100, 40), 20, 20);
    QPainterPath puff;
    puff.addEllipse(QPointF(38, 76), 24, 24);
    cloud = cloud.united(puff);
    puff = QPainterPath();
    puff.addEllipse(QPointF(66, 64), 30, 30);
    cloud = cloud.united(puff);
    puff = QPainterPath();
    puff.addEllipse(QPointF(92, 84), 20, 20);
    cloud = cloud.united(puff).simplified();
    QLinearGradient shade(0, 34, 0, 114);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, QColor(214, 224, 240));
    p.setPen(QPen(QColor(64, 84, 118), std::max(4.5, 1.2 * unit), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(shade);
    p.drawPath(cloud);
    return image;
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    // Each in the device's pixels as <ID>.png, and for finer screens as <ID>@<n>x.png.
    for (g_nScale = 1; g_nScale <= 4; ++g_nScale) {
        const struct
        {
            int nID;
            QImage image;
        } pictures[] = {
            {161, Logo()}, {162, Credit()},
            {155, UpdateButton(false)},  {156, UpdateButton(true)},  {157, ClockButton(false)},
            {158, CalendarButton(true)}, {159, CalendarButton(false)}, {160, ClockButton(true)},
        };
        for (const auto& picture : pictures) {
            const QString name = g_nScale == 1 ? QStringLiteral("/%1.png").arg(picture.nID)
                                               : QStringLiteral("/%1@%2x.png").arg(picture.nID).arg(g_nScale);
            QImage image = picture.image;
            image.setDevicePixelRatio(1.0);
            ok = ok && image.save(folder + name, "PNG");
        }
    }
    g_nScale = 1;
    // The icon's sizes: title bar and task bar (16, 32), desktop (48, 128).
    QDir icons(folder + QStringLiteral("/../icons"));
    icons.mkpath(QStringLiteral("."));
    for (int size : {16, 32, 48, 128})
        ok = ok && Icon(size).save(icons.filePath(QStringLiteral("128_%1.png").arg(size)), "PNG");
    return ok ? 0 : 1;
}
