// Draws the welcome pictures of the desktop program, one per language, and writes
// them as welcome-dk.jpg and welcome-uk.jpg into the folder named on the command line.
//
// The landscape is the same in both: a sky over rows of beech and spruce, paler with
// distance, framed by near trees, with a meadow in front. Only the texts differ.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The welcome page's size; the program stretches the picture to the page.
constexpr int kWidth = 892;
constexpr int kHeight = 475;
constexpr double kPi = 3.14159265358979323846;

// splitmix64 with a fixed seed: the same picture on every machine and build (the
// standard distributions are not portable).
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed) {}
  double Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / static_cast<double>(1ull << 53);
  }
  double Range(double low, double high) { return low + (high - low) * Next(); }

 private:
  std::uint64_t state_;
};

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                          static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

// The haze near the horizon that distant shapes fade into.
const QColor kHaze(0xd6, 0xe2, 0xdc);

// A gently rolling line: a sum of slow waves with fixed phases.
double Ridge(double x, double amplitude, double phase) {
  return amplitude * (0.55 * std::sin(x / 97.0 + phase) + 0.3 * std::sin(x / 41.0 + 2.1 * phase) +
                      0.15 * std::sin(x / 19.0 + 3.7 * phase));
}

void PaintSky(QPainter& p) {
  QLinearGradient sky(0, 0, 0, 310);
  sky.setColorAt(0.0, QColor(0x8f, 0xbb, 0xdb));
  sky.setColorAt(0.5, QColor(0xc4, 0xdc, 0xea));
  sky.setColorAt(1.0, QColor(0xf3, 0xec, 0xd8));
  p.fillRect(QRectF(0, 0, kWidth, kHeight), sky);

  // Low morning sun behind the trees on the right.
  const QPointF sun(618, 254);
  QRadialGradient glow(sun, 300);
  glow.setColorAt(0.0, QColor(255, 250, 232, 210));
  glow.setColorAt(0.2, QColor(255, 244, 214, 110));
  glow.setColorAt(1.0, QColor(255, 244, 214, 0));
  p.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 251, 238, 235));
  p.drawEllipse(sun, 24, 24);

  // A few long, thin clouds.
  struct Cloud { double x, y, w, h; int alpha; };
  const Cloud clouds[] = {{120, 52, 190, 14, 70}, {205, 66, 130, 9, 55}, {560, 40, 230, 12, 60},
                          {690, 58, 150, 8, 50},  {430, 118, 170, 7, 40}, {770, 130, 120, 6, 45}};
  for (const Cloud& c : clouds) {
    QRadialGradient puff(QPointF(c.x, c.y), c.w / 2);
    puff.setColorAt(0.0, QColor(255, 255, 255, c.alpha));
    puff.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.save();
    p.translate(c.x, c.y);
    p.scale(1.0, c.h / (c.w / 2));
    p.translate(-c.x, -c.y);
    p.setBrush(puff);
    p.drawEllipse(QPointF(c.x, c.y), c.w / 2, c.w / 2);
    p.restore();
  }
}

void PaintHill(QPainter& p, double base, double amplitude, double phase, const QColor& colour) {
  QPainterPath hill;
  hill.moveTo(0, kHeight);
  for (int x = 0; x <= kWidth; x += 4) hill.lineTo(x, base + Ridge(x, amplitude, phase));
  hill.lineTo(kWidth, kHeight);
  hill.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(hill);
}

// One tree's colours, already faded by its distance.
struct Palette {
  QColor shade, body, light, trunk;
};

Palette Faded(Palette near, double haze) {
  return {Mix(near.shade, kHaze, haze), Mix(near.body, kHaze, haze), Mix(near.light, kHaze, haze),
          Mix(near.trunk, kHaze, haze)};
}

const Palette kBeech{QColor(0x3e, 0x6b, 0x2c), QColor(0x5e, 0x93, 0x3c), QColor(0xa4, 0xc8, 0x62),
                     QColor(0x7b, 0x7a, 0x72)};
const Palette kSpruce{QColor(0x1c, 0x3b, 0x30), QColor(0x2c, 0x57, 0x44), QColor(0x5d, 0x85, 0x62),
                      QColor(0x5a, 0x46, 0x36)};

// A beech: a smooth grey trunk under a broad, rounded crown of overlapping lobes,
// lit from the sun on the right.
void PaintBeech(QPainter& p, Noise& noise, double x, double ground, double height,
                const Palette& c) {
  const double trunkWidth = std::max(1.5, height * 0.045);
  p.setPen(Qt::NoPen);
  p.setBrush(c.trunk);
  p.drawRect(QRectF(x - trunkWidth / 2, ground - height * 0.4, trunkWidth, height * 0.4 + 2));

  const double cy = ground - height * 0.62;
  const double rx = height * 0.36;
  const double ry = height * 0.36;
  QPainterPath crown;
  crown.setFillRule(Qt::WindingFill);
  crown.addEllipse(QPointF(x, cy), rx * 0.72, ry * 0.72);
  const int lobes = 11;
  for (int i = 0; i < lobes; ++i) {
    const double angle = 2 * kPi * i / lobes + noise.Range(-0.2, 0.2);
    const double r = noise.Range(0.3, 0.42);
    // Flatter below: the crown rests on its branches.
    const double reach = std::sin(angle) > 0 ? 0.4 : 0.62;
    crown.addEllipse(QPointF(x + std::cos(angle) * rx * 0.64, cy + std::sin(angle) * ry * reach),
                     rx * r, ry * r);
  }
  crown = crown.simplified();
  QLinearGradient light(QPointF(x + rx * 0.7, cy - ry), QPointF(x - rx * 0.5, cy + ry * 0.8));
  light.setColorAt(0.0, c.light);
  light.setColorAt(0.5, c.body);
  light.setColorAt(1.0, c.shade);
  p.setBrush(light);
  p.drawPath(crown);

  // Sunlit clusters on the upper right, shaded ones low on the left, clipped to the crown.
  p.save();
  p.setClipPath(crown);
  QColor glint = c.light;
  glint.setAlpha(90);
  QColor shadow = c.shade;
  shadow.setAlpha(70);
  for (int i = 0; i < 6; ++i) {
    const double a = noise.Range(-1.6, 0.2);
    const double d = noise.Range(0.35, 0.8);
    p.setBrush(glint);
    p.drawEllipse(QPointF(x + std::cos(a) * rx * d, cy + std::sin(a) * ry * d), rx * 0.2, ry * 0.14);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(x - std::cos(a) * rx * d, cy - std::sin(a) * ry * d * 0.6), rx * 0.22, ry * 0.15);
  }
  p.restore();
}

// A spruce: a narrow cone of drooping tiers on a short dark trunk.
void PaintSpruce(QPainter& p, Noise& noise, double x, double ground, double height,
                 const Palette& c) {
  const double trunkWidth = std::max(1.2, height * 0.035);
  p.setPen(Qt::NoPen);
  p.setBrush(c.trunk);
  p.drawRect(QRectF(x - trunkWidth / 2, ground - height * 0.2, trunkWidth, height * 0.2 + 2));

  const double top = ground - height;
  const double bottom = ground - height * 0.1;
  const double halfWidth = height * 0.19;
  const int tiers = std::max(5, static_cast<int>(height / 10));
  const double step = (bottom - top) / tiers;
  // Each tier: in from the stem, out along a drooping branch to its tip. Down the
  // left side, then up the right side.
  struct Tier { double y, reach, inner; };
  std::vector<Tier> shape;
  for (int i = 1; i <= tiers; ++i) {
    const double t = static_cast<double>(i) / tiers;
    const double reach = halfWidth * std::pow(t, 0.85) * noise.Range(0.85, 1.08);
    shape.push_back({top + (bottom - top) * t, reach, reach * noise.Range(0.45, 0.6)});
  }
  QPainterPath cone;
  cone.moveTo(x, top - height * 0.02);
  for (const Tier& s : shape) {
    cone.lineTo(x - s.inner, s.y - step * 0.6);
    cone.quadTo(x - s.reach * 0.75, s.y - step * 0.35, x - s.reach, s.y + step * 0.3);
  }
  cone.lineTo(x, bottom);
  for (auto it = shape.rbegin(); it != shape.rend(); ++it) {
    cone.lineTo(x + it->reach, it->y + step * 0.3);
    cone.quadTo(x + it->reach * 0.75, it->y - step * 0.35, x + it->inner, it->y - step * 0.6);
  }
  cone.closeSubpath();

  QLinearGradient light(QPointF(x - halfWidth, 0), QPointF(x + halfWidth, 0));
  light.setColorAt(0.0, c.shade);
  light.setColorAt(0.55, c.body);
  light.setColorAt(1.0, c.light);
  p.setBrush(light);
  p.drawPath(cone);
}

struct Row {
  double ground;      // where the row's trunks stand
  double minHeight, maxHeight;
  double spacing;     // mean distance between trees
  double haze;        // 0 near, 1 lost in the haze
  QColor soil;        // the ground band in front of the row
  std::uint64_t seed;
};

// A row of stands across the picture: runs of beech and runs of spruce, as a
// managed forest is seen from its edge.
void PaintRow(QPainter& p, const Row& row) {
  Noise noise(row.seed);
  const Palette beech = Faded(kBeech, row.haze);
  const Palette spruce = Faded(kSpruce, row.haze);
  // The shaded interior of the stand, seen between the trunks.
  QPainterPath interior;
  interior.moveTo(0, row.ground + 2);
  for (int x = 0; x <= kWidth; x += 6)
    interior.lineTo(x, row.ground - row.minHeight * 0.55 + Ridge(x, row.minHeight * 0.08, 0.4));
  interior.lineTo(kWidth, row.ground + 2);
  interior.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Mix(QColor(0x2a, 0x40, 0x2a), kHaze, row.haze * 0.9));
  p.drawPath(interior);

  bool spruceStand = noise.Next() < 0.5;
  double standEnd = noise.Range(90, 220);
  for (double x = -row.spacing; x < kWidth + row.spacing; x += row.spacing * noise.Range(0.6, 1.1)) {
    if (x > standEnd) {
      spruceStand = !spruceStand;
      standEnd = x + noise.Range(100, 260);
    }
    const double ground = row.ground + Ridge(x, 3, static_cast<double>(row.seed % 7));
    const double height = noise.Range(row.minHeight, row.maxHeight);
    if (spruceStand)
      PaintSpruce(p, noise, x, ground, height * 1.1, spruce);
    else
      PaintBeech(p, noise, x, ground, height, beech);
  }
  // The ground in front hides the trunks' feet.
  QPainterPath band;
  band.moveTo(0, kHeight);
  for (int x = 0; x <= kWidth; x += 4) band.lineTo(x, row.ground - 1 + Ridge(x, 3, row.seed % 5));
  band.lineTo(kWidth, kHeight);
  band.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(row.soil);
  p.drawPath(band);
}

void PaintMeadow(QPainter& p) {
  QPainterPath meadow;
  meadow.moveTo(0, kHeight);
  for (int x = 0; x <= kWidth; x += 4) meadow.lineTo(x, 392 + Ridge(x, 6, 1.3));
  meadow.lineTo(kWidth, kHeight);
  meadow.closeSubpath();
  QLinearGradient grass(0, 380, 0, kHeight);
  grass.setColorAt(0.0, QColor(0xa9, 0xc7, 0x73));
  grass.setColorAt(1.0, QColor(0x76, 0xa0, 0x4c));
  p.setPen(Qt::NoPen);
  p.setBrush(grass);
  p.drawPath(meadow);

  // The forest edge shades the grass at its foot; the framing trees cast longer shadows.
  QLinearGradient edge(0, 388, 0, 412);
  edge.setColorAt(0.0, QColor(0x2a, 0x40, 0x2a, 70));
  edge.setColorAt(1.0, QColor(0x2a, 0x40, 0x2a, 0));
  p.setBrush(edge);
  p.drawPath(meadow);
  p.setBrush(QColor(0x2a, 0x40, 0x2a, 40));
  p.drawEllipse(QPointF(110, 468), 150, 16);
  p.drawEllipse(QPointF(800, 470), 120, 14);

  // A forest road winding from the foreground into the stands.
  QPainterPath road;
  road.moveTo(380, kHeight);
  road.cubicTo(420, 445, 520, 430, 470, 392);
  road.lineTo(478, 392);
  road.cubicTo(545, 430, 500, 450, 520, kHeight);
  road.closeSubpath();
  QLinearGradient sand(0, 392, 0, kHeight);
  sand.setColorAt(0.0, QColor(0xd9, 0xcf, 0xa8));
  sand.setColorAt(1.0, QColor(0xc4, 0xb0, 0x82));
  p.setBrush(sand);
  p.drawPath(road);

  // Soft light across the grass from the sun.
  QRadialGradient sunlit(QPointF(640, 400), 320);
  sunlit.setColorAt(0.0, QColor(255, 246, 200, 70));
  sunlit.setColorAt(1.0, QColor(255, 246, 200, 0));
  p.setBrush(sunlit);
  p.drawPath(meadow);
}

// Tall trees at both edges frame the view and leave the middle open for the title.
void PaintFrame(QPainter& p) {
  Noise noise(77);
  PaintBeech(p, noise, 48, 470, 430, kBeech);
  PaintBeech(p, noise, 150, 462, 330, Faded(kBeech, 0.08));
  PaintSpruce(p, noise, 790, 468, 400, Faded(kSpruce, 0.08));
  PaintSpruce(p, noise, 868, 474, 460, kSpruce);
}

struct Texts {
  QString subtitle;
  QString species;
};

void PaintTitle(QPainter& p, const Texts& texts) {
  QFont title(QStringLiteral("DejaVu Serif"));
  title.setStyleHint(QFont::Serif);
  title.setPixelSize(74);
  title.setWeight(QFont::Bold);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 10);
  QFont subtitle(QStringLiteral("DejaVu Sans"));
  subtitle.setStyleHint(QFont::SansSerif);
  subtitle.setPixelSize(19);
  QFont species = subtitle;
  species.setPixelSize(15);
  species.setItalic(true);

  const QString name = QStringLiteral("ORVEN");
  const QFontMetricsF titleMetrics(title), subtitleMetrics(subtitle), speciesMetrics(species);
  // Letter spacing trails the last letter too; centre on the letters themselves.
  const double titleWidth = titleMetrics.horizontalAdvance(name) - 10;
  const double textWidth = std::max({titleWidth, subtitleMetrics.horizontalAdvance(texts.subtitle),
                                     speciesMetrics.horizontalAdvance(texts.species)});
  const double centre = kWidth / 2.0;
  const double textHeight = titleMetrics.ascent() + titleMetrics.descent() + 12 + 14 +
                            subtitleMetrics.height() + 12 + speciesMetrics.height();
  const QRectF band(centre - textWidth / 2 - 34, 26, textWidth + 68, textHeight + 2 * 22);

  // A soft translucent band keeps the text readable over the sky.
  p.setPen(Qt::NoPen);
  for (int i = 6; i >= 1; --i) {
    p.setBrush(QColor(255, 255, 255, 10));
    p.drawRoundedRect(band.adjusted(-i * 2.5, -i * 2.5, i * 2.5, i * 2.5), 18 + i * 2.5, 18 + i * 2.5);
  }
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawRoundedRect(band, 18, 18);

  const QColor ink(0x1d, 0x3a, 0x29);
  double baseline = band.top() + 22 + titleMetrics.ascent();
  p.setFont(title);
  p.setPen(QColor(255, 255, 255, 160));
  p.drawText(QPointF(centre - titleWidth / 2 + 1.5, baseline + 1.5), name);
  p.setPen(ink);
  p.drawText(QPointF(centre - titleWidth / 2, baseline), name);

  // A thin rule with a small leaf between the name and the subtitle.
  baseline += titleMetrics.descent() + 12;
  p.setPen(QPen(QColor(0x4f, 0x7a, 0x45), 1.2));
  p.drawLine(QPointF(centre - 90, baseline), QPointF(centre - 12, baseline));
  p.drawLine(QPointF(centre + 12, baseline), QPointF(centre + 90, baseline));
  QPainterPath leaf;
  leaf.moveTo(centre - 8, baseline);
  leaf.quadTo(centre, baseline - 7, centre + 8, baseline);
  leaf.quadTo(centre, baseline + 7, centre - 8, baseline);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x4f, 0x7a, 0x45));
  p.drawPath(leaf);

  baseline += 14 + subtitleMetrics.ascent();
  p.setFont(subtitle);
  p.setPen(ink);
  p.drawText(QPointF(centre - subtitleMetrics.horizontalAdvance(texts.subtitle) / 2, baseline),
             texts.subtitle);

  baseline += subtitleMetrics.descent() + 12 + speciesMetrics.ascent();
  p.setFont(species);
  p.setPen(QColor(0x3b, 0x55, 0x44));
  p.drawText(QPointF(centre - speciesMetrics.horizontalAdvance(texts.species) / 2, baseline),
             texts.species);
}

QImage Draw(const Texts& texts) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);

  PaintSky(p);
  PaintHill(p, 262, 16, 0.7, Mix(QColor(0x9d, 0xb9, 0xb8), kHaze, 0.35));
  PaintHill(p, 280, 12, 2.9, Mix(QColor(0x86, 0xa8, 0x96), kHaze, 0.25));
  const Row rows[] = {
      {292, 20, 34, 11, 0.7, Mix(QColor(0x8f, 0xae, 0x78), kHaze, 0.6), 11},
      {312, 32, 52, 15, 0.52, Mix(QColor(0x92, 0xb2, 0x72), kHaze, 0.45), 23},
      {338, 50, 78, 22, 0.34, Mix(QColor(0x96, 0xb7, 0x6e), kHaze, 0.3), 37},
      {372, 70, 112, 30, 0.16, Mix(QColor(0x9c, 0xbd, 0x6c), kHaze, 0.15), 41},
  };
  for (const Row& row : rows) PaintRow(p, row);
  PaintMeadow(p);
  PaintFrame(p);
  PaintTitle(p, texts);
  p.end();
  return image;
}

bool Write(const QImage& image, const QString& path) {
  QImageWriter writer(path, "jpeg");
  writer.setQuality(90);
  if (writer.write(image)) return true;
  std::fprintf(stderr, "make-welcome-pictures: %s: %s\n", qPrintable(path),
               qPrintable(writer.errorString()));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-welcome-pictures OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.exists()) {
    std::fprintf(stderr, "make-welcome-pictures: no folder %s\n", argv[1]);
    return 1;
  }
  const Texts danish{QStringLiteral("Produktionsoversigter baseret på dynamiske vækstmodeller"),
                     QStringLiteral("bøg · eg · ask · rødgran · sitkagran · douglasgran · ædelgran")};
  const Texts english{QStringLiteral("Growth and yield tables based on dynamic growth models"),
                      QStringLiteral("beech · oak · ash · Norway spruce · Sitka spruce · Douglas fir · silver fir")};
  const bool written = Write(Draw(danish), folder.filePath(QStringLiteral("welcome-dk.jpg"))) &
                       Write(Draw(english), folder.filePath(QStringLiteral("welcome-uk.jpg")));
  return written ? 0 : 1;
}
