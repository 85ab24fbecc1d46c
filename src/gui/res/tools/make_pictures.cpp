// Draws the tool's pictures into a folder (normally src/gui/res/pictures): the application
// icon, the line status icons of the communication window and the status strip pictures,
// each at 1x and 2x. Run by hand after changing a drawing; the PNGs are committed.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&, double scale)>;

bool Save(const QString& folder, const QString& name, QSize size, int scale, const Draw& draw) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, scale);
    }
    const QString file = folder + "/" + name + (scale == 2 ? "@2x" : "") + ".png";
    if (!image.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// A lit or dark lamp with a soft highlight, centred at c with radius r.
void DrawLamp(QPainter& p, QPointF c, double r, QColor body) {
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.4), r * 1.3);
    g.setColorAt(0.0, body.lighter(165));
    g.setColorAt(0.55, body);
    g.setColorAt(1.0, body.darker(150));
    p.setPen(QPen(body.darker(185), r * 0.12));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

const QColor kOnline(0x2f, 0xa8, 0x4f);
const QColor kOffline(0xc6, 0x3d, 0x32);
const QColor kUnlit(0xc4, 0xc9, 0xcf);

// Line status icon: a lamp with a check (online) or a cross (offline).
void DrawLineIcon(QPainter& p, double s, bool online) {
    const double size = 32 * s;
    DrawLamp(p, {size / 2, size / 2}, size * 0.42, online ? kOnline : kOffline);
    QPen pen(Qt::white, size * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (online) {
        QPainterPath tick;
        tick.moveTo(size * 0.31, size * 0.52);
        tick.lineTo(size * 0.44, size * 0.65);
        tick.lineTo(size * 0.69, size * 0.37);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(size * 0.36, size * 0.36), QPointF(size * 0.64, size * 0.64));
        p.drawLine(QPointF(size * 0.64, size * 0.36), QPointF(size * 0.36, size * 0.64));
    }
}

// Status strip: a small lamp followed by five rising signal bars, lit when online.
void DrawStrip(QPainter& p, double s, bool online) {
    DrawLamp(p, {8 * s, 8 * s}, 5.2 * s, online ? kOnline : kOffline);
    for (int i = 0; i < 5; ++i) {
        const double h = (4 + 2.4 * i) * s;
        const QRectF bar((19 + 6 * i) * s, 14 * s - h, 4 * s, h);
        p.setPen(Qt::NoPen);
        p.setBrush(online ? kOnline.lighter(100 + 8 * (4 - i)) : kUnlit);
        p.drawRoundedRect(bar, 1 * s, 1 * s);
    }
}

// Application icon: a camera body with a lens on a slate tile.
void DrawAppIcon(QPainter& p, double size) {
    const double u = size / 64.0;
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, QColor(0x3b, 0x5b, 0x7f));
    tile.setColorAt(1, QColor(0x1f, 0x33, 0x4c));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2 * u, 2 * u, 60 * u, 60 * u), 12 * u, 12 * u);

    QLinearGradient body(0, 18 * u, 0, 50 * u);
    body.setColorAt(0, QColor(0xf2, 0xf4, 0xf6));
    body.setColorAt(1, QColor(0xb9, 0xc2, 0xcc));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(10 * u, 20 * u, 44 * u, 28 * u), 4 * u, 4 * u);
    // Cooling fins on the back of the body.
    p.setBrush(QColor(0x8d, 0x99, 0xa6));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(13 * u, (24 + 7 * i) * u, 8 * u, 3 * u));

    const QPointF c(38 * u, 34 * u);
    p.setBrush(QColor(0x23, 0x2a, 0x33));
    p.drawEllipse(c, 12 * u, 12 * u);
    QRadialGradient glass(c + QPointF(-3 * u, -3 * u), 10 * u);
    glass.setColorAt(0, QColor(0x7f, 0xc4, 0xff));
    glass.setColorAt(0.6, QColor(0x1d, 0x5f, 0xa3));
    glass.setColorAt(1, QColor(0x0b, 0x1f, 0x38));
    p.setBrush(glass);
    p.drawEllipse(c, 8 * u, 8 * u);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(c + QPointF(-3 * u, -3 * u), 2 * u, 2 * u);
    // Status lamp on the body.
    p.setBrush(kOnline);
    p.drawEllipse(QPointF(49 * u, 24 * u), 1.8 * u, 1.8 * u);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    bool ok = true;
    for (int scale : {1, 2}) {
        ok &= Save(folder, "line_online", {32, 32}, scale,
                   [](QPainter& p, double s) { DrawLineIcon(p, s, true); });
        ok &= Save(folder, "line_offline", {32, 32}, scale,
                   [](QPainter& p, double s) { DrawLineIcon(p, s, false); });
        ok &= Save(folder, "strip_online", {48, 16}, scale,
                   [](QPainter& p, double s) { DrawStrip(p, s, true); });
        ok &= Save(folder, "strip_offline", {48, 16}, scale,
                   [](QPainter& p, double s) { DrawStrip(p, s, false); });
    }
    for (int size : {16, 32, 64, 256}) {
        ok &= Save(folder, QString("app_%1").arg(size), {size, size}, 1,
                   [size](QPainter& p, double) { DrawAppIcon(p, size); });
    }
    return ok ? 0 : 1;
}
