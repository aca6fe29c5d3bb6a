// Draws the editor's default pictures: the ten mouth shapes of the classic
// animation mouth chart as bitmaps and icons, the About picture and the
// program's icon. Everything is drawn here from vector paths; run
// scripts/render-art to write the files.
//
//   visemer_art IMAGES_FOLDER ICON_FOLDER

#include "tools/art/IconFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr double kCanvas = 160.0;
constexpr double kCentreX = 80.0;
constexpr double kMouthY = 84.0;

const QColor kSkin(246, 227, 207);
const QColor kLip(214, 98, 92);
const QColor kLipShade(184, 72, 70);
const QColor kInk(86, 38, 36);
const QColor kInside(58, 20, 24);
const QColor kTooth(255, 255, 252);
const QColor kToothLine(196, 188, 180);
const QColor kTongue(232, 132, 142);

// Everything a mouth is made of, in canvas units (the canvas is 160 wide).
struct Mouth {
    QPainterPath outer;    // the lips' outline
    QPainterPath inner;    // the opening, empty when the lips meet
    double upperTeeth = 0; // depth of the upper teeth below the opening's top
    double lowerTeeth = 0; // height of the lower teeth above its bottom
    bool teethTogether = false;
    QPainterPath tongue;
    QPainterPath seam;     // the line where closed lips meet
    QPainterPath lowerLip; // a lower lip drawn over the teeth
    std::vector<QLineF> creases;
};

// A lip shape from corner to corner with a rounded top and bottom; the
// apexes are the heights the curves reach in the middle.
QPainterPath lens(double halfWidth, double topApex, double bottomApex, bool bow = false) {
    const double x0 = kCentreX - halfWidth;
    const double x1 = kCentreX + halfWidth;
    const double w = 2 * halfWidth;
    auto control = [](double apex) { return kMouthY + (apex - kMouthY) / 0.75; };
    QPainterPath path(QPointF(x0, kMouthY));
    if (bow) {
        // The upper lip dips a little in the middle.
        path.cubicTo(x0 + 0.2 * w, kMouthY + (topApex - kMouthY) * 0.95, kCentreX - 22, topApex,
                     kCentreX - 10, topApex);
        path.quadTo(kCentreX - 4, topApex, kCentreX, topApex + 4);
        path.quadTo(kCentreX + 4, topApex, kCentreX + 10, topApex);
        path.cubicTo(kCentreX + 22, topApex, x1 - 0.2 * w, kMouthY + (topApex - kMouthY) * 0.95, x1,
                     kMouthY);
    } else {
        path.cubicTo(x0 + 0.15 * w, control(topApex), x1 - 0.15 * w, control(topApex), x1, kMouthY);
    }
    path.cubicTo(x1 - 0.15 * w, control(bottomApex), x0 + 0.15 * w, control(bottomApex), x0,
                 kMouthY);
    path.closeSubpath();
    return path;
}

QPainterPath ellipse(double cx, double cy, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath seamLine(double halfWidth, double sag) {
    QPainterPath path(QPointF(kCentreX - halfWidth, kMouthY));
    path.cubicTo(kCentreX - halfWidth / 3, kMouthY + sag, kCentreX + halfWidth / 3, kMouthY + sag,
                 kCentreX + halfWidth, kMouthY);
    return path;
}

std::map<char, Mouth> mouths() {
    std::map<char, Mouth> all;

    Mouth& a = all['A']; // A, I: wide open
    a.outer = lens(60, 38, 132, true);
    a.inner = lens(46, 56, 118);
    a.upperTeeth = 11;
    a.tongue = ellipse(kCentreX, 116, 30, 12);

    Mouth& b = all['B']; // B, M, P: lips pressed together
    b.outer = lens(50, 72, 94, true);
    b.seam = seamLine(46, 0);
    b.creases = {{QLineF(33, 81, 36, 87)}, {QLineF(127, 81, 124, 87)}};

    Mouth& c = all['C']; // Closed, at rest
    c.outer = lens(44, 70, 99, true);
    c.seam = seamLine(42, 6);

    Mouth& e = all['E']; // E: open, teeth showing, corners wide
    e.outer = lens(68, 54, 116, true);
    e.inner = lens(54, 68, 102);
    e.upperTeeth = 12;
    e.lowerTeeth = 8;

    Mouth& f = all['F']; // F, V: upper teeth on the lower lip
    f.outer = lens(54, 52, 104, true);
    f.inner = lens(42, 64, 100);
    f.upperTeeth = 40;
    {
        // The lower lip tucked up under the upper teeth.
        QPainterPath lip(QPointF(kCentreX - 44, 90));
        lip.cubicTo(kCentreX - 24, 82, kCentreX + 24, 82, kCentreX + 44, 90);
        lip.cubicTo(kCentreX + 30, 112, kCentreX - 30, 112, kCentreX - 44, 90);
        lip.closeSubpath();
        f.lowerLip = lip;
    }

    Mouth& l = all['L']; // L, TH: tongue tip behind the upper teeth
    l.outer = lens(54, 44, 124, true);
    l.inner = lens(42, 60, 112);
    l.upperTeeth = 9;
    {
        QPainterPath tongue(QPointF(kCentreX - 30, 122));
        tongue.cubicTo(kCentreX - 22, 96, kCentreX - 12, 70, kCentreX, 70);
        tongue.cubicTo(kCentreX + 12, 70, kCentreX + 22, 96, kCentreX + 30, 122);
        tongue.closeSubpath();
        l.tongue = tongue;
    }

    Mouth& o = all['O']; // O: round and open
    o.outer = ellipse(kCentreX, kMouthY, 38, 44);
    o.inner = ellipse(kCentreX, kMouthY + 2, 22, 28);
    o.tongue = ellipse(kCentreX, kMouthY + 26, 16, 8);

    Mouth& q = all['Q']; // Q, U, W, Y: small and pursed
    q.outer = ellipse(kCentreX, kMouthY, 26, 23);
    q.inner = ellipse(kCentreX, kMouthY + 1, 8, 7);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * 3.14159265 / 4 + 0.4;
        const double cx = std::cos(angle), cy = std::sin(angle);
        q.creases.emplace_back(kCentreX + cx * 12, kMouthY + cy * 11, kCentreX + cx * 20,
                               kMouthY + cy * 18);
    }

    Mouth& r = all['R']; // C, G, H, K, R, X: slightly open with teeth
    r.outer = lens(56, 56, 114, true);
    r.inner = lens(42, 70, 100);
    r.upperTeeth = 10;
    r.lowerTeeth = 6;

    Mouth& s = all['S']; // CH, SH, D, J, N, S, T, Z: teeth together, lips apart
    s.outer = lens(60, 56, 112, true);
    s.inner = lens(46, 70, 98);
    s.teethTogether = true;

    return all;
}

void drawTeeth(QPainter& p, const QRectF& band, double outline) {
    p.setPen(Qt::NoPen);
    p.setBrush(kTooth);
    p.drawRect(band);
    p.setPen(QPen(kToothLine, outline * 0.45));
    for (double x = kCentreX - 36; x <= kCentreX + 36.1; x += 12)
        p.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
}

void drawMouth(QPainter& p, const Mouth& mouth, double outline) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QLinearGradient shade(0, 40, 0, 130);
    shade.setColorAt(0, kLip);
    shade.setColorAt(1, kLipShade);
    p.setBrush(shade);
    p.drawPath(mouth.outer);

    if (!mouth.inner.isEmpty()) {
        p.setBrush(kInside);
        p.drawPath(mouth.inner);
        p.save();
        p.setClipPath(mouth.inner);
        const QRectF opening = mouth.inner.boundingRect();
        if (mouth.teethTogether) {
            drawTeeth(p, opening.adjusted(-2, -2, 2, 2), outline);
            p.setPen(QPen(kToothLine, outline * 0.6));
            p.drawLine(QPointF(opening.left(), kMouthY), QPointF(opening.right(), kMouthY));
        } else {
            if (!mouth.tongue.isEmpty()) {
                p.setPen(Qt::NoPen);
                p.setBrush(kTongue);
                p.drawPath(mouth.tongue);
            }
            if (mouth.upperTeeth > 0)
                drawTeeth(p,
                          QRectF(opening.left() - 2, opening.top() - 2, opening.width() + 4,
                                 mouth.upperTeeth + 2),
                          outline);
            if (mouth.lowerTeeth > 0)
                drawTeeth(p,
                          QRectF(opening.left() - 2, opening.bottom() - mouth.lowerTeeth,
                                 opening.width() + 4, mouth.lowerTeeth + 2),
                          outline);
        }
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, outline * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(mouth.inner);
    }
    if (!mouth.lowerLip.isEmpty()) {
        p.setBrush(kLipShade);
        p.setPen(QPen(kInk, outline * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(mouth.lowerLip);
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mouth.outer);
    if (!mouth.seam.isEmpty())
        p.drawPath(mouth.seam);
    p.setPen(QPen(kInk, outline * 0.6, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& crease : mouth.creases)
        p.drawLine(crease);
}

QImage render(int size, double outline, bool background,
              const std::function<void(QPainter&, double)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background ? kSkin : QColor(Qt::transparent));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    draw(painter, outline);
    return image;
}

QImage mouthImage(const Mouth& mouth, int size, bool background) {
    // Lines keep a readable width however small the picture.
    const double outline = std::max(4.0, 1.6 * kCanvas / size);
    return render(size, outline, background, [&](QPainter& p, double width) {
        if (!background) {
            // Icons fill their square with the mouth itself.
            p.translate(kCentreX, kMouthY);
            p.scale(1.15, 1.15);
            p.translate(-kCentreX, -kMouthY);
        }
        drawMouth(p, mouth, width);
    });
}

// The program's picture: an open mouth on a blue tile, with sound waves.
void drawEmblem(QPainter& p, double outline) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 0, 0, kCanvas);
    tile.setColorAt(0, QColor(58, 132, 170));
    tile.setColorAt(1, QColor(30, 84, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(4, 4, kCanvas - 8, kCanvas - 8), 30, 30);

    p.save();
    p.translate(-14, 0);
    drawMouth(p, mouths().at('A'), outline);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255), outline * 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 0; wave < 2; ++wave) {
        const double r = 18 + wave * 16;
        p.drawArc(QRectF(126 - r, kMouthY - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
}

bool writeBitmap(const QImage& image, const QString& path) {
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

// A bitmap has no transparency: lay the picture on the dialog colour.
QImage flatten(const QImage& image) {
    QImage flat(image.size(), QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(240, 240, 240));
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: visemer_art IMAGES_FOLDER ICON_FOLDER\n");
        return 2;
    }
    const QString images = QString::fromLocal8Bit(argv[1]);
    const QString icons = QString::fromLocal8Bit(argv[2]);
    bool ok = true;

    for (const auto& [letter, mouth] : mouths()) {
        const QString name = QString(QLatin1Char(letter));
        ok &= writeBitmap(mouthImage(mouth, 160, true),
                          images + u'/' + name + QStringLiteral(".bmp"));
        ok &= visemer::art::writeIconFile(
            {mouthImage(mouth, 16, false), mouthImage(mouth, 32, false)},
            images + u'/' + name + QStringLiteral(".ico"));
    }

    ok &= writeBitmap(flatten(render(80, 4.0, false, drawEmblem)),
                      images + QStringLiteral("/about.bmp"));

    QList<QImage> sizes;
    for (const int size : {16, 24, 32, 48, 64}) {
        const QImage icon = render(size, std::max(4.0, 1.4 * kCanvas / size), false, drawEmblem);
        sizes << icon;
        ok &= icon.save(icons + QStringLiteral("/visemer-%1.png").arg(size), "PNG");
    }
    ok &= visemer::art::writeIconFile(sizes, icons + QStringLiteral("/visemer.ico"));

    if (!ok) {
        std::fprintf(stderr, "visemer_art: could not write every picture\n");
        return 1;
    }
    return 0;
}
