// Draws the chart's pictures: the weather icon strip, the wind arrow strip and the
// three head pictures of the scale panels. Writes them as <ID>.png into the
// bitmap folder that the build compiles in:
//
//     cirrovan_artwork <res/bitmaps folder> [preview sheet.png]
//
// The strips are drawn antialiased on a transparent image and then flattened
// onto the key colour with a hard alpha threshold, so that no edge pixel ends up
// as a blend with the key colour (which would show as a pink fringe).

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

// Every picture is drawn in device pixels; the scale (1 to 4) sets how many of
// the image's pixels each of them gets, each way.
int g_nScale = 1;

QImage NewImage(int nWidth, int nHeight, QImage::Format format)
{
    QImage image(nWidth * g_nScale, nHeight * g_nScale, format);
    image.setDevicePixelRatio(g_nScale);
    return image;
}

const QColor KEY(255, 153, 255);
const QColor PANEL(255, 255, 204);

const QColor SUN_FILL(255, 196, 0);
const QColor SUN_EDGE(214, 112, 0);
const QColor MOON_FILL(250, 236, 150);
const QColor MOON_EDGE(150, 130, 40);
const QColor CLOUD_FILL(250, 251, 253);
const QColor CLOUD_EDGE(96, 108, 128);
const QColor DARK_FILL(150, 158, 172);
const QColor DARK_EDGE(60, 66, 80);
const QColor RAIN(20, 90, 235);
const QColor ICE(0, 170, 200);
const QColor SNOW(40, 110, 220);
const QColor BOLT_FILL(255, 220, 0);
const QColor BOLT_EDGE(190, 90, 0);
const QColor WIND(70, 90, 120);
const QColor FOG(120, 126, 136);

void Cloud(QPainter& p, qreal x, qreal y, qreal w, qreal h, bool bDark = false)
{
    // A flat base with three puffs, the middle one highest. Stroking every piece
    // first and filling them all after gives one clean outline around the union.
    const QRectF base(x, y + h * 0.45, w, h * 0.55);
    const QRectF puffs[3] = {QRectF(x + w * 0.08, y + h * 0.25, w * 0.42, h * 0.62),
                             QRectF(x + w * 0.30, y, w * 0.48, h * 0.80),
                             QRectF(x + w * 0.58, y + h * 0.30, w * 0.36, h * 0.56)};
    const qreal r = h * 0.27;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0) {
            p.setPen(QPen(bDark ? DARK_EDGE : CLOUD_EDGE, 2.4));
            p.setBrush(bDark ? DARK_EDGE : CLOUD_EDGE);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(bDark ? DARK_FILL : CLOUD_FILL);
        }
        p.drawRoundedRect(base, r, r);
        for (const QRectF& puff : puffs)
            p.drawEllipse(puff);
    }
}

void Sun(QPainter& p, qreal cx, qreal cy, qreal r, const QColor& fill = SUN_FILL,
         const QColor& edge = SUN_EDGE)
{
    p.setPen(QPen(edge, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        p.drawLine(QPointF(cx + qCos(a) * (r + 2.0), cy + qSin(a) * (r + 2.0)),
                   QPointF(cx + qCos(a) * (r + 4.5), cy + qSin(a) * (r + 4.5)));
    }
    p.setPen(QPen(edge, 1.2));
    p.setBrush(fill);
    p.drawEllipse(QPointF(cx, cy), r, r);
}

void Moon(QPainter& p, qreal cx, qreal cy, qreal r)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(cx, cy), r, r);
    QPainterPath bite;
    bite.addEllipse(QPointF(cx + r * 0.55, cy - r * 0.35), r * 0.85, r * 0.85);
    p.setPen(QPen(MOON_EDGE, 1.2));
    p.setBrush(MOON_FILL);
    p.drawPath(disc.subtracted(bite));
}

void Star(QPainter& p, qreal cx, qreal cy, qreal r)
{
    p.setPen(QPen(MOON_EDGE, 1.0));
    p.drawLine(QPointF(cx - r, cy), QPointF(cx + r, cy));
    p.drawLine(QPointF(cx, cy - r), QPointF(cx, cy + r));
}

void Drop(QPainter& p, qreal x, qreal y, const QColor& c = RAIN, qreal len = 4.5)
{
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x + 1.2, y), QPointF(x, y + len));
}

void Flake(QPainter& p, qreal cx, qreal cy, qreal r = 3.1)
{
    p.setPen(QPen(SNOW, 1.1, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 3; ++i) {
        const qreal a = i * M_PI / 3 + M_PI / 2;
        p.drawLine(QPointF(cx - qCos(a) * r, cy - qSin(a) * r),
                   QPointF(cx + qCos(a) * r, cy + qSin(a) * r));
    }
}

void Pellet(QPainter& p, qreal cx, qreal cy, qreal r = 1.6)
{
    p.setPen(QPen(ICE.darker(140), 1.0));
    p.setBrush(QColor(200, 240, 250));
    p.drawEllipse(QPointF(cx, cy), r, r);
}

void Bolt(QPainter& p, qreal x, qreal y, qreal s = 1.0)
{
    QPolygonF bolt;
    bolt << QPointF(x + 3 * s, y) << QPointF(x + 8 * s, y) << QPointF(x + 5.5 * s, y + 4.5 * s)
         << QPointF(x + 8.5 * s, y + 4.5 * s) << QPointF(x + 2 * s, y + 12 * s)
         << QPointF(x + 4 * s, y + 6.5 * s) << QPointF(x + 1 * s, y + 6.5 * s);
    p.setPen(QPen(BOLT_EDGE, 1.0));
    p.setBrush(BOLT_FILL);
    p.drawPolygon(bolt);
}

void WindLines(QPainter& p, qreal x, qreal y, qreal w, int n = 3, const QColor& c = WIND)
{
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < n; ++i) {
        const qreal yy = y + i * 5.0;
        const qreal ww = w - (i == 1 ? 0 : 5);
        QPainterPath path;
        path.moveTo(x, yy);
        path.lineTo(x + ww - 3, yy);
        // A curl at the end of the gust.
        path.arcTo(QRectF(x + ww - 5, yy - 4, 4, 4), -90, 230);
        p.drawPath(path);
    }
}

void FogLines(QPainter& p, qreal y, int n, const QColor& c = FOG)
{
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < n; ++i) {
        const qreal x0 = (i % 2) ? 5 : 3;
        p.drawLine(QPointF(x0, y + i * 4), QPointF(x0 + 20, y + i * 4));
    }
}

void Spiral(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c.darker(150), 1.2));
    p.setBrush(c);
    QPainterPath path;
    path.addEllipse(QPointF(14, 14), 4.5, 4.5);
    for (int arm = 0; arm < 2; ++arm) {
        QPainterPath a;
        const qreal s = arm ? -1 : 1;
        a.moveTo(14 + 3 * s, 14 - 3 * s);
        a.cubicTo(14 + 9 * s, 14 - 2 * s, 14 + 10 * s, 14 - 10 * s, 14 + 2 * s, 14 - 12 * s);
        a.cubicTo(14 + 7 * s, 14 - 8 * s, 14 + 6 * s, 14 - 5 * s, 14 + 1 * s, 14 - 4 * s);
        path = path.united(a);
    }
    p.drawPath(path.simplified());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(14, 14), 1.8, 1.8);
}

void Thermometer(QPainter& p, qreal cx, qreal top, qreal h, const QColor& liquid, qreal level)
{
    const qreal bulb = 3.6;
    p.setPen(QPen(QColor(70, 70, 80), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(cx - 2.2, top, 4.4, h), 2.2, 2.2);
    p.setBrush(liquid);
    p.drawEllipse(QPointF(cx, top + h + bulb * 0.5), bulb, bulb);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(cx - 1.1, top + h * (1 - level), 2.2, h * level + 1.5));
}

void NotAvailable(QPainter& p)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(110, 110, 110));
    p.drawText(QRectF(0, 0, 28, 28), Qt::AlignCenter, "N/A");
}

// Sun or moon peeping from behind a cloud.
void Behind(QPainter& p, bool bNight, bool bBig)
{
    if (bNight)
        Moon(p, 9, 9, 6);
    else
        Sun(p, 9, 9, 4.5);
    if (bBig)
        Cloud(p, 4, 9, 23, 14);
    else
        Cloud(p, 10, 12, 17, 11);
}

// Sun or moon with a cloud, and something falling from it.
void Showers(QPainter& p, bool bNight, const std::function<void(QPainter&)>& fall)
{
    if (bNight)
        Moon(p, 8, 7, 5.5);
    else
        Sun(p, 8, 7, 4);
    Cloud(p, 6, 6, 20, 12);
    fall(p);
}

void DrawIcon(QPainter& p, int k)
{
    auto rainCloud = [&](bool bDark) { Cloud(p, 2, 2, 24, 14, bDark); };
    switch (k) {
    case 0: {   // tornado
        p.setPen(QPen(DARK_EDGE, 2.0, Qt::SolidLine, Qt::RoundCap));
        const qreal widths[] = {20, 15, 11, 7, 4};
        for (int i = 0; i < 5; ++i) {
            const qreal cx = 14 + (i - 2) * 0.8;
            p.drawLine(QPointF(cx - widths[i] / 2, 5 + i * 4.5), QPointF(cx + widths[i] / 2, 5 + i * 4.5));
        }
        break;
    }
    case 1:   // tropical storm
        Spiral(p, QColor(255, 150, 40));
        break;
    case 2:   // hurricane
        Spiral(p, QColor(220, 30, 30));
        break;
    case 3:   // severe thunderstorms
        rainCloud(true);
        Bolt(p, 9, 12, 1.2);
        Drop(p, 4, 19);
        Drop(p, 22, 19);
        break;
    case 4:
        rainCloud(true);
        Bolt(p, 10, 13, 1.05);
        break;
    case 5:   // rain and snow
        rainCloud(false);
        Drop(p, 7, 18);
        Flake(p, 14.5, 22);
        Drop(p, 20, 18);
        break;
    case 6:   // rain and sleet
        rainCloud(false);
        Drop(p, 7, 18);
        Pellet(p, 14, 23);
        Drop(p, 20, 18);
        break;
    case 7:   // snow and sleet
        rainCloud(false);
        Flake(p, 8, 21);
        Pellet(p, 14, 23);
        Flake(p, 20, 21);
        break;
    case 8:   // freezing drizzle
        rainCloud(false);
        Drop(p, 8, 19, ICE, 2.5);
        Drop(p, 14, 22, ICE, 2.5);
        Drop(p, 20, 19, ICE, 2.5);
        p.setPen(QPen(ICE, 1.4));
        p.drawLine(QPointF(4, 26.5), QPointF(24, 26.5));
        break;
    case 9:   // drizzle
        rainCloud(false);
        Drop(p, 8, 19, RAIN, 2.5);
        Drop(p, 14, 22, RAIN, 2.5);
        Drop(p, 20, 19, RAIN, 2.5);
        break;
    case 10:   // freezing rain
        rainCloud(false);
        Drop(p, 7, 18, ICE);
        Drop(p, 14, 19, ICE);
        Drop(p, 21, 18, ICE);
        p.setPen(QPen(ICE, 1.4));
        p.drawLine(QPointF(4, 26.5), QPointF(24, 26.5));
        break;
    case 11:   // light showers
        rainCloud(false);
        Drop(p, 10, 19);
        Drop(p, 17, 19);
        break;
    case 12:   // rain
        rainCloud(false);
        Drop(p, 6, 18);
        Drop(p, 13, 20);
        Drop(p, 20, 18);
        break;
    case 13:   // snow flurries
        rainCloud(false);
        Flake(p, 11, 21, 2.8);
        Flake(p, 18, 24, 2.4);
        break;
    case 14:   // light snow
        rainCloud(false);
        Flake(p, 9, 21);
        Flake(p, 19, 21);
        break;
    case 15:   // blowing snow
        Flake(p, 6, 6);
        Flake(p, 14, 4);
        Flake(p, 22, 7);
        WindLines(p, 3, 13, 22, 3);
        break;
    case 16:   // snow
        rainCloud(false);
        Flake(p, 7, 20);
        Flake(p, 14, 23);
        Flake(p, 21, 20);
        break;
    case 17:   // hail
        rainCloud(false);
        Pellet(p, 8, 20, 2.2);
        Pellet(p, 14.5, 23, 2.2);
        Pellet(p, 21, 20, 2.2);
        break;
    case 18:   // sleet
        rainCloud(false);
        Pellet(p, 8, 20);
        Drop(p, 13, 18, ICE, 3);
        Pellet(p, 20, 22);
        break;
    case 19: {   // dust
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(176, 124, 60));
        for (int i = 0; i < 14; ++i)
            p.drawEllipse(QPointF(4 + (i * 7) % 21, 6 + (i * 5) % 17), 1.3, 1.3);
        WindLines(p, 3, 9, 22, 2, QColor(150, 100, 40));
        break;
    }
    case 20:   // fog
        Cloud(p, 4, 1, 20, 11);
        FogLines(p, 15, 3);
        break;
    case 21:   // haze
        Sun(p, 14, 9, 5);
        FogLines(p, 17, 3, QColor(170, 150, 110));
        break;
    case 22: {   // smoke
        p.setPen(QPen(QColor(90, 90, 96), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 2; ++i) {
            QPainterPath path;
            const qreal x = 8 + i * 8;
            path.moveTo(x, 26);
            path.cubicTo(x - 5, 20, x + 5, 14, x, 8);
            path.cubicTo(x - 3, 5, x + 2, 3, x + 3, 1);
            p.drawPath(path);
        }
        break;
    }
    case 23:   // blustery
        Cloud(p, 10, 1, 16, 10);
        WindLines(p, 2, 14, 22, 3);
        break;
    case 24:   // windy
        WindLines(p, 3, 8, 22, 3);
        break;
    case 25:   // frigid
        Thermometer(p, 9, 3, 16, QColor(40, 110, 230), 0.2);
        Flake(p, 20, 10, 4.5);
        break;
    case 26:   // cloudy
        Cloud(p, 9, 3, 17, 11, true);
        Cloud(p, 2, 10, 22, 14);
        break;
    case 27:
        Behind(p, true, true);
        break;
    case 28:
        Behind(p, false, true);
        break;
    case 29:
        Behind(p, true, false);
        break;
    case 30:
        Behind(p, false, false);
        break;
    case 31:   // clear night
        Moon(p, 13, 15, 9);
        Star(p, 22, 6, 2.5);
        Star(p, 5, 5, 2);
        break;
    case 32:   // sunny
        Sun(p, 14, 14, 7);
        break;
    case 33:   // fair night
        Moon(p, 12, 12, 8);
        Cloud(p, 13, 18, 13, 8);
        break;
    case 34:   // fair day
        Sun(p, 12, 12, 6);
        Cloud(p, 13, 18, 13, 8);
        break;
    case 35:   // rain and hail
        rainCloud(false);
        Drop(p, 7, 18);
        Pellet(p, 14, 23, 2.2);
        Drop(p, 20, 18);
        break;
    case 36:   // hot
        Sun(p, 17, 11, 5.5, QColor(255, 120, 0), QColor(200, 40, 0));
        Thermometer(p, 6, 4, 16, QColor(230, 30, 30), 0.85);
        break;
    case 37:   // isolated thunderstorms
        Showers(p, false, [](QPainter& q) { Bolt(q, 11, 15, 1.0); });
        break;
    case 38:   // scattered thunderstorms
        Showers(p, false, [](QPainter& q) { Bolt(q, 12, 15, 1.0); Drop(q, 8, 20); Drop(q, 22, 20); });
        break;
    case 39:   // scattered showers
        Showers(p, false, [](QPainter& q) { Drop(q, 10, 20); Drop(q, 17, 20); });
        break;
    case 40:   // heavy rain
        rainCloud(true);
        for (int i = 0; i < 4; ++i)
            Drop(p, 4 + i * 6, 17 + (i % 2) * 3, RAIN, 6);
        break;
    case 41:   // scattered snow showers
        Showers(p, false, [](QPainter& q) { Flake(q, 10, 22); Flake(q, 19, 22); });
        break;
    case 42:   // heavy snow
        rainCloud(true);
        Flake(p, 6, 19);
        Flake(p, 13, 23);
        Flake(p, 20, 19);
        Flake(p, 24, 25, 2.0);
        Flake(p, 6, 26, 2.0);
        break;
    case 43:   // blizzard
        Cloud(p, 2, 1, 24, 12, true);
        Flake(p, 6, 17);
        Flake(p, 14, 16);
        Flake(p, 22, 17);
        WindLines(p, 3, 22, 22, 2);
        break;
    case 45:
        Showers(p, true, [](QPainter& q) { Drop(q, 10, 20); Drop(q, 17, 20); });
        break;
    case 46:
        Showers(p, true, [](QPainter& q) { Flake(q, 10, 22); Flake(q, 19, 22); });
        break;
    case 47:
        Showers(p, true, [](QPainter& q) { Bolt(q, 12, 15, 1.0); Drop(q, 8, 20); Drop(q, 22, 20); });
        break;
    default:   // 44, 48: not available
        NotAvailable(p);
        break;
    }
}

// Every pixel either fully opaque in its own colour or the key colour.
QImage Flatten(const QImage& argb)
{
    QImage in = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < in.width(); ++x) {
            QRgb c = qAlpha(src[x]) >= 110 ? (src[x] | 0xff000000u) : KEY.rgb();
            // A drawn pixel that happens to have the key colour would vanish.
            if (qAlpha(src[x]) >= 110 && (c & 0xffffff) == (KEY.rgb() & 0xffffff))
                c = qRgb(254, 153, 255);
            dst[x] = c;
        }
    }
    return out;
}

QImage IconStrip()
{
    QImage strip = NewImage(49 * 28, 28, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int k = 0; k < 49; ++k) {
        QImage icon = NewImage(28, 28, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        DrawIcon(p, k);
        p.end();
        QPainter s(&strip);
        s.drawImage(28 * k, 0, icon);
    }
    return Flatten(strip);
}

QImage ArrowStrip()
{
    static const double s_bearings[16] = {0, 90, 180, 270, 45, 135, 225, 315,
                                          22.5, 112.5, 202.5, 292.5, 67.5, 157.5, 247.5, 337.5};
    QImage strip = NewImage(16 * 16, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int i = 0; i < 16; ++i) {
        QPainter p(&strip);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(16 * i + 8, 8);
        p.rotate(s_bearings[i]);   // clockwise from up, as the compass counts
        const QColor c(0, 90, 0);
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(0, 6.5), QPointF(0, -2));
        QPolygonF head;
        head << QPointF(0, -7.5) << QPointF(4.5, -1) << QPointF(-4.5, -1);
        p.setPen(QPen(c, 1.0));
        p.setBrush(c);
        p.drawPolygon(head);
    }
    return Flatten(strip);
}

QImage Head(int nSeries)
{
    QImage image = NewImage(32, 26, QImage::Format_RGB32);
    image.fill(PANEL);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (nSeries == 0) {
        Thermometer(p, 16, 3, 15, QColor(230, 20, 20), 0.6);
        p.setPen(QPen(QColor(70, 70, 80), 1.0));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(19.5, 5 + i * 3.5), QPointF(22, 5 + i * 3.5));
    } else if (nSeries == 1) {
        Cloud(p, 4, 1, 24, 14);
        Drop(p, 9, 17);
        Drop(p, 15, 19);
        Drop(p, 21, 17);
    } else {
        // Pole and a striped sock blowing to the right.
        p.setPen(QPen(QColor(80, 80, 80), 2.0));
        p.drawLine(QPointF(5, 3), QPointF(5, 25));
        const QColor stripes[] = {QColor(230, 40, 20), Qt::white, QColor(230, 40, 20), Qt::white};
        for (int i = 0; i < 4; ++i) {
            const qreal x0 = 6 + i * 6, x1 = x0 + 6;
            const qreal h0 = 5.0 - i * 0.9, h1 = 5.0 - (i + 1) * 0.9;
            QPolygonF band;
            band << QPointF(x0, 8 - h0 + i * 0.7) << QPointF(x1, 8 - h1 + (i + 1) * 0.7)
                 << QPointF(x1, 8 + h1 + (i + 1) * 0.7) << QPointF(x0, 8 + h0 + i * 0.7);
            p.setPen(QPen(QColor(120, 40, 30), 0.8));
            p.setBrush(stripes[i]);
            p.drawPolygon(band);
        }
    }
    return image;
}

// A sheet for looking at the pictures: each one enlarged, on white and on the
// night band's grey, with its number.
QImage Preview(const QImage& icons, const QImage& arrows, const QImage heads[3], int nScale)
{
    const int cell = 28 * nScale + 8;
    QImage sheet(10 * cell * 2, 7 * (cell + 14) + 2 * (16 * nScale + 24) + 26 * nScale + 20,
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    p.setFont(font);
    auto keyed = [](const QImage& img, const QColor& bg) {
        QImage out = img.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                if ((out.pixel(x, y) & 0xffffff) == (KEY.rgb() & 0xffffff))
                    out.setPixel(x, y, bg.rgb());
        return out;
    };
    for (int k = 0; k < 49; ++k) {
        const QImage icon = icons.copy(28 * k, 0, 28, 28);
        const int x = (k % 10) * cell * 2, y = (k / 10) * (cell + 14);
        p.drawText(x + 2, y + 11, QString::number(k));
        p.drawImage(QRect(x, y + 14, 28 * nScale, 28 * nScale), keyed(icon, Qt::white));
        p.drawImage(QRect(x + cell, y + 14, 28 * nScale, 28 * nScale), keyed(icon, QColor(204, 204, 204)));
    }
    int y = 5 * (cell + 14) + 4;
    for (int i = 0; i < 16; ++i) {
        const QImage arrow = arrows.copy(16 * i, 0, 16, 16);
        const int x = i * (16 * nScale + 8);
        p.drawText(x + 2, y + 11, QString::number(i));
        p.drawImage(QRect(x, y + 14, 16 * nScale, 16 * nScale), keyed(arrow, Qt::white));
        p.drawImage(QRect(x, y + 14 + 16 * nScale + 4, 16 * nScale, 16 * nScale), keyed(arrow, QColor(204, 204, 204)));
    }
    y += 2 * (16 * nScale + 24) + 4;
    for (int i = 0; i < 3; ++i)
        p.drawImage(QRect(i * (32 * nScale + 10), y, 32 * nScale, 26 * nScale), heads[i]);
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cirrovan_artwork <res/bitmaps folder> [preview.png]\n");
        return 2;
    }
    const QString strFolder = QString::fromLocal8Bit(argv[1]);
    // Thermometer, wind sock, rain cloud, weather icons, wind arrows: each in the
    // device's pixels as <ID>.png, and for finer screens as <ID>@<n>x.png.
    const int ids[] = {144, 145, 146, 147, 148};
    QImage images[5];
    for (g_nScale = 4; g_nScale >= 1; --g_nScale) {
        const QImage drawn[] = {Head(0), Head(2), Head(1), IconStrip(), ArrowStrip()};
        for (int i = 0; i < 5; ++i) {
            const QString name = g_nScale == 1 ? QStringLiteral("%1.png").arg(ids[i])
                                               : QStringLiteral("%1@%2x.png").arg(ids[i]).arg(g_nScale);
            QImage image = drawn[i];
            image.setDevicePixelRatio(1.0);
            if (!image.save(strFolder + "/" + name, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
                return 1;
            }
            images[i] = image;
        }
    }
    if (argc > 2) {
        const QImage heads[3] = {images[0], images[2], images[1]};
        Preview(images[3], images[4], heads, 3).save(QString::fromLocal8Bit(argv[2]), "PNG");
    }
    return 0;
}
