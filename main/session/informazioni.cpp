#include "main/session/informazioni.h"

#include "common/platform/drawingsurface.h"
#include "common/platform/picturebox.h"
#include "common/texts/testi.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Equal-area projection of a pole (plunge and trend in degrees) into a net of radius r centred at c.
QPointF Proietta(double immersione, double inclinazione, const QPointF& c, double r) {
  const double d = std::numbers::pi / 180.0;
  const double tendenza = (immersione + 180.0) * d;  // the pole lies opposite the dip direction
  const double immersionePolo = (90.0 - inclinazione) * d;
  const double rho = r * std::sqrt(2.0) * std::sin((std::numbers::pi / 2 - immersionePolo) / 2.0);
  return {c.x() + rho * std::sin(tendenza), c.y() - rho * std::cos(tendenza)};
}

// The logo into an image of the window's size, the title below the net if asked. The painter draws in pixels of
// the window, `s`; the background is filled row by row of the image's own pixels.
void DisegnaLogoIn(QImage& img, bool conTitolo) {
  const QSize s = plat::WindowSize(img);
  // The background shades from top to bottom: each row one colour, filled straight into the image.
  for (int y = 0; y < img.height(); ++y) {
    const double t = (y + 0.5) / img.height();
    auto tinta = [t](int alto, int basso) { return static_cast<int>(std::lround(alto + (basso - alto) * t)); };
    const QRgb colore = qRgb(tinta(32, 118), tinta(58, 92), tinta(86, 64));
    auto* riga = reinterpret_cast<QRgb*>(img.scanLine(y));
    std::fill(riga, riga + img.width(), colore);
  }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  const double lato = std::min(s.width(), s.height());
  const double r = lato * (conTitolo ? 0.30 : 0.42);
  const QPointF c(s.width() / 2.0, conTitolo ? s.height() * 0.44 : s.height() / 2.0);
  p.setPen(QPen(QColor(240, 236, 220), std::max(1.0, r / 60)));
  p.setBrush(QColor(250, 248, 240, 40));
  p.drawEllipse(c, r, r);
  // Great circles of a net: planes striking north-south, dipping 15 to 75 degrees east and west.
  p.setPen(QPen(QColor(240, 236, 220, 110), std::max(1.0, r / 160)));
  p.setBrush(Qt::NoBrush);
  for (int inclinazione = 15; inclinazione < 90; inclinazione += 15) {
    for (int lato2 : {90, 270}) {
      QPainterPath cerchio;
      for (int k = 0; k <= 36; ++k) {
        // Lines of the plane: rake from 0 to 180 degrees.
        const double d = std::numbers::pi / 180.0;
        const double rake = k * 5.0 * d;
        const double dip = inclinazione * d;
        const double x = std::cos(rake), y = std::sin(rake) * std::cos(dip), z = std::sin(rake) * std::sin(dip);
        const double plunge = std::asin(std::min(1.0, z));
        double trend = std::atan2(lato2 == 90 ? y : -y, x) / d;
        const double rho = r * std::sqrt(2.0) * std::sin((std::numbers::pi / 2 - plunge) / 2.0);
        const QPointF q(c.x() + rho * std::sin(trend * d), c.y() - rho * std::cos(trend * d));
        if (k == 0) cerchio.moveTo(q);
        else cerchio.lineTo(q);
      }
      p.drawPath(cerchio);
    }
  }
  p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  // Poles of three families, scattered around their centres.
  const struct {
    double immersione, inclinazione;
    QColor colore;
  } famiglie[] = {{120, 65, QColor(230, 90, 60)}, {215, 80, QColor(90, 190, 110)}, {330, 35, QColor(90, 150, 240)}};
  p.setPen(Qt::NoPen);
  unsigned seme = 7;
  auto caso = [&seme] {
    seme = seme * 1103515245u + 12345u;
    return ((seme >> 16) & 0x7fff) / 32767.0 - 0.5;
  };
  for (const auto& f : famiglie) {
    p.setBrush(f.colore);
    for (int k = 0; k < 24; ++k) {
      const QPointF q = Proietta(f.immersione + 30 * caso(), std::clamp(f.inclinazione + 16 * caso(), 0.0, 90.0), c, r);
      p.drawEllipse(q, std::max(1.5, r / 45), std::max(1.5, r / 45));
    }
  }
  if (conTitolo) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(10, static_cast<int>(lato * 0.09)));
    p.setFont(font);
    p.setPen(QColor(250, 246, 232));
    const QRectF titolo(0, c.y() + r + lato * 0.03, s.width(), lato * 0.12);
    p.drawText(titolo, Qt::AlignCenter, QStringLiteral("FRATTIX"));
  }
}

}  // namespace

QImage DisegnaLogo(const QSize& dimensione, bool conTitolo, qreal rapporto) {
  const QSize s = dimensione.expandedTo(QSize(16, 16));
  // Opaque: the picture box copies it to the screen with no blending.
  QImage img = plat::ScreenImage(s, rapporto, QImage::Format_RGB32);
  plat::DrawOnOneThread([&] { DisegnaLogoIn(img, conTitolo); });
  return img;
}

INFORMAZIONI::INFORMAZIONI(QWidget* parent) : plat::Form(QStringLiteral("INFORMAZIONI"), parent) {
  setWindowTitle(QStringLiteral("INFO"));
  setFixedSize(520, 250);
  Picture1 = new plat::PictureBox(QStringLiteral("Picture1"), this);
  Picture1->setGeometry(16, 16, 168, 168);
  Picture1->SetPicture(DisegnaLogo(QSize(168, 168), false, plat::ScreenPixelRatio(this)));
  Label3 = new QLabel(QStringLiteral("FRATTIX"), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  QFont grande = Label3->font();
  grande.setPointSize(22);
  grande.setBold(true);
  Label3->setFont(grande);
  Label3->setGeometry(200, 20, 300, 44);
  Label4 = new QLabel(this);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label4->setWordWrap(true);
  Label4->setGeometry(200, 70, 300, 60);
  // Form_Load: the subtitle in the current language.
  Label4->setText(Traduci(QStringLiteral("Cluster analysis e analisi di stabilita' dei cunei")));
  Label8 = new QLabel(this);
  Label8->setObjectName(QStringLiteral("Label8"));
  Label8->setTextFormat(Qt::PlainText);
  Label8->setGeometry(200, 140, 300, 40);
  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(210, 200, 100, 32);
  connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
  if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
    const QRect area = schermo->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

void INFORMAZIONI::ImpostaLabel8(const QString& didascalia) {
  Didascalia8 = didascalia;
  Label8->setText(plat::ShownCaption(didascalia));
}
