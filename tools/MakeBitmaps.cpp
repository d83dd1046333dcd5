// Draws the application's own pictures of the weather service (its logo, bitmap
// 161, and the credit line, bitmap 162) into res/bitmaps as PNG files. Run it
// after changing the artwork: cirrovan_make_bitmaps <repo>/res/bitmaps

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

void DrawCloud(QPainter& p, double x, double y, double scale, const QColor& fill)
{
    QPainterPath cloud;
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
    QImage image(56, 44, QImage::Format_RGB32);
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

QImage Credit()
{
    QImage image(70, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(0, 0, 70, 12), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("forecasts by"));
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(10);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(28, 63, 140));
    p.drawText(QRectF(0, 12, 70, 11), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Cirrovan"));
    p.drawText(QRectF(0, 22, 70, 10), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Weather"));
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
    bool ok = Logo().save(folder + QStringLiteral("/161.png"), "PNG")
              && Credit().save(folder + QStringLiteral("/162.png"), "PNG");
    return ok ? 0 : 1;
}
