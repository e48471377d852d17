#include "common/plot/grafica.h"

#include "common/plot/dxf.h"
#include "common/plot/grafico.h"

#include "common/platform/gdi.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kLatoPulsante = 495;  // twips
constexpr int kAltoSuperficie = 480;

struct PosizionePulsante {
  int numero;
  int sinistra;  // twips
};

// The buttons left to right; Picture8 lies on Picture1 and shows the zoom switched on.
const PosizionePulsante kPulsanti[] = {{1, 0},     {8, 0},     {2, 480},   {13, 1080}, {14, 1560},
                                      {15, 2040}, {16, 2520}, {9, 3120},  {10, 3600}, {11, 4080},
                                      {12, 4560}, {3, 5160},  {5, 5640},  {4, 6120},  {6, 6720}};

// An arrow in direction (dx, dy) from the centre of a button of side `l`; `doppia` draws two heads.
void Freccia(QPainter& p, int l, int dx, int dy, bool doppia) {
  const QPointF c(l / 2.0, l / 2.0);
  const QPointF d(dx, dy);
  const QPointF n(-dy, dx);
  const double r = l * 0.32;
  p.drawLine(c - d * r, c + d * r);
  for (int k = 0; k < (doppia ? 2 : 1); ++k) {
    const QPointF punta = c + d * (r - k * 6);
    QPainterPath testa;
    testa.moveTo(punta);
    testa.lineTo(punta - d * 6 + n * 5);
    testa.lineTo(punta - d * 6 - n * 5);
    testa.closeSubpath();
    p.fillPath(testa, p.pen().color());
  }
}

// The picture of button `numero`, `lato` pixels of the window square, at the screen's pixel ratio.
QImage Icona(int numero, int lato, qreal rapporto) {
  QImage im = plat::ScreenImage(QSize(lato, lato), rapporto, QImage::Format_RGB32);
  im.fill(QColor(192, 192, 192));
  QPainter p(&im);
  p.setRenderHint(QPainter::Antialiasing);
  const bool premuto = numero == 8;
  // A raised button (pressed for the zoom that is on).
  p.setPen(premuto ? QColor(96, 96, 96) : Qt::white);
  p.drawLine(0, 0, lato - 1, 0);
  p.drawLine(0, 0, 0, lato - 1);
  p.setPen(premuto ? Qt::white : QColor(96, 96, 96));
  p.drawLine(lato - 1, 0, lato - 1, lato - 1);
  p.drawLine(0, lato - 1, lato - 1, lato - 1);
  QPen tratto(QColor(0, 0, 128), 2);
  p.setPen(tratto);
  p.setBrush(Qt::NoBrush);
  const double m = lato * 0.2;
  switch (numero) {
    case 1:
    case 8:
      p.drawEllipse(QPointF(lato * 0.42, lato * 0.42), lato * 0.2, lato * 0.2);
      p.drawLine(QPointF(lato * 0.56, lato * 0.56), QPointF(lato * 0.8, lato * 0.8));
      break;
    case 2:
      p.drawRect(QRectF(lato * 0.3, m, lato * 0.4, lato - 2 * m));
      p.drawLine(QPointF(lato * 0.38, lato * 0.4), QPointF(lato * 0.62, lato * 0.4));
      p.drawLine(QPointF(lato * 0.38, lato * 0.55), QPointF(lato * 0.62, lato * 0.55));
      break;
    case 9: Freccia(p, lato, -1, 0, false); break;
    case 10: Freccia(p, lato, 1, 0, false); break;
    case 11: Freccia(p, lato, 0, -1, false); break;
    case 12: Freccia(p, lato, 0, 1, false); break;
    case 13: Freccia(p, lato, -1, 0, true); break;
    case 14: Freccia(p, lato, 1, 0, true); break;
    case 15: Freccia(p, lato, 0, -1, true); break;
    case 16: Freccia(p, lato, 0, 1, true); break;
    case 3:
    case 5: {
      p.drawRect(QRectF(m, lato * 0.45, lato - 2 * m, lato * 0.3));
      p.drawRect(QRectF(lato * 0.32, m, lato * 0.36, lato * 0.25));
      if (numero == 5) {
        p.setPen(QPen(QColor(128, 0, 0), 2));
        p.drawRect(QRectF(lato * 0.4, lato * 0.52, lato * 0.2, lato * 0.14));
      }
      break;
    }
    case 4: {
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(lato / 3);
      f.setBold(true);
      p.setFont(f);
      p.drawText(QRectF(0, 0, lato, lato), Qt::AlignCenter, QStringLiteral("DXF"));
      break;
    }
    case 6:
      p.setPen(QPen(QColor(128, 0, 0), 3));
      p.drawLine(QPointF(m * 1.5, m * 1.5), QPointF(lato - m * 1.5, lato - m * 1.5));
      p.drawLine(QPointF(lato - m * 1.5, m * 1.5), QPointF(m * 1.5, lato - m * 1.5));
      break;
    default: break;
  }
  return im;
}

}  // namespace

GRAFICA::GRAFICA() : plat::Form(QStringLiteral("GRAFICA")) {
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString());
  setAutoFillBackground(true);
  QPalette sfondo = palette();
  sfondo.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(sfondo);

  const int lato = plat::TwipsToPixels(kLatoPulsante);
  for (const PosizionePulsante& b : kPulsanti) {
    auto* box = new plat::PictureBox(QStringLiteral("Picture%1").arg(b.numero), this);
    box->setGeometry(plat::TwipsToPixels(b.sinistra), 0, lato, lato);
    box->SetPicture(Icona(b.numero, lato, plat::ScreenPixelRatio(this)));
    pulsanti_[b.numero] = box;
    const int n = b.numero;
    connect(box, &plat::PictureBox::Click, this, [this, n] { Picture_Click(n); });
  }
  pulsanti_[8]->hide();
  pulsanti_[8]->raise();

  Picture7 = new plat::DrawingSurface(QStringLiteral("Picture7"), this);
  Picture7->move(0, plat::TwipsToPixels(kAltoSuperficie));
  connect(Picture7, &plat::DrawingSurface::MouseDown, this, &GRAFICA::Picture7_MouseDown);
  connect(Picture7, &plat::DrawingSurface::MouseMove, this, &GRAFICA::Picture7_MouseMove);
  connect(Picture7, &plat::DrawingSurface::MouseUp, this, &GRAFICA::Picture7_MouseUp);
  Form_Load();
}

int GRAFICA::AltezzaPulsanti() const { return pulsanti_[1]->height(); }

int GRAFICA::LarghezzaPulsante() const { return pulsanti_[1]->width(); }

void GRAFICA::Form_Load() {
  const auto suggerimento = [this](int n, const QString& testo) { pulsanti_[n]->setToolTip(testo); };
  suggerimento(1, Traduci(QStringLiteral("Ingrandimento di una sezione di immagine")));
  suggerimento(8, Traduci(QStringLiteral("Ingrandimento di una sezione di immagine")));
  suggerimento(2, Traduci(QStringLiteral("Ritorno all'immagine a tutto schermo")));
  suggerimento(13, Traduci(QStringLiteral("Spostamento a sinistra della finestra di zoom")));
  suggerimento(14, Traduci(QStringLiteral("Spostamento a destra della finestra di zoom")));
  suggerimento(15, Traduci(QStringLiteral("Spostamento in alto della finestra di zoom")));
  suggerimento(16, Traduci(QStringLiteral("Spostamento in basso della finestra di zoom")));
  suggerimento(9, Traduci(QStringLiteral("Spostamento a sinistra di 1/4 della finestra di zoom")));
  suggerimento(10, Traduci(QStringLiteral("Spostamento a destra di 1/4 della finestra di zoom")));
  suggerimento(11, Traduci(QStringLiteral("Spostamento in alto di 1/4 della finestra di zoom")));
  suggerimento(12, Traduci(QStringLiteral("Spostamento in basso di 1/4 della finestra di zoom")));
  suggerimento(3, Traduci(QStringLiteral("Invio dell'immagine alla stampante")));
  suggerimento(5, Traduci(
                      QStringLiteral("Invio alla stampante dell'immagine ridotta alle dimensioni del foglio disponibile")));
  suggerimento(4, Traduci(QStringLiteral("Esportazione dell'immagine in formato DXF")));
  suggerimento(6, Traduci(QStringLiteral("Uscita dall'anteprima")));
  Grafico.AltezzaAreaLavoro = plat::WorkArea().height();
  if (QWidget* menu = plat::LoadedForm(QStringLiteral("menu1"))) menu->setEnabled(false);
}

void GRAFICA::Form_Unload() {
  if (!Grafico.AttesaFinale) {
    if (QWidget* menu = plat::LoadedForm(QStringLiteral("menu1"))) {
      menu->setEnabled(true);
      menu->raise();
      menu->activateWindow();
    }
  }
  Grafico.AttesaFinale = false;
  Grafico.GraficaCaricata = false;
}

void GRAFICA::keyPressEvent(QKeyEvent* event) {
  // Every key goes to the window's command keys once, whichever button has the focus.
  const QString testo = event->text().toUpper();
  if (!testo.isEmpty()) GestioneTasti(testo.left(1));
  event->accept();
}

void GRAFICA::GestioneTasti(const QString& key) {
  if (key == QLatin1String("S")) StampaGrafico(false);
  else if (key == QLatin1String("I")) StampaGrafico(true);
  else if (key == QLatin1String("D")) EsportaDXF();
  else if (key == QLatin1String("U")) Unload();
}

void GRAFICA::Picture_Click(int n) {
  switch (n) {
    case 1:
      Grafico.ZoomAttivo = true;
      pulsanti_[8]->show();
      pulsanti_[8]->raise();
      break;
    case 8:
      Grafico.ZoomAttivo = false;
      pulsanti_[8]->hide();
      break;
    case 2:
      Grafico.ZoomAttivo = false;
      pulsanti_[8]->hide();
      RidisegnaTutto();
      break;
    case 3: StampaGrafico(false); break;
    case 5: StampaGrafico(true); break;
    case 4:
      EsportaDXF();
      Grafico.ZoomAttivo = false;
      pulsanti_[8]->hide();
      RidisegnaTutto();
      break;
    case 6:
      Grafico.GraficaCaricata = false;
      Unload();
      break;
    default:
      if (n >= 9 && n <= 16) Sposta(n);
      break;
  }
}

void GRAFICA::Sposta(int n) {
  if (!Grafico.ZoomAttivo) return;
  Finestra& z = FinestraZoom;
  // A pan before any window was picked moves the window shown.
  if (!(z.X2 - z.X1 > 0 && z.Y2 - z.Y1 > 0)) z = Grafico.FinestraVista;
  const double passo = n <= 12 ? 0.2 : 0.8;
  const int verso = (n - 9) % 4;  // 0 left, 1 right, 2 up, 3 down
  if (verso < 2) {
    const double d = (z.X2 - z.X1) * passo * (verso == 0 ? -1 : 1);
    z.X1 += d;
    z.X2 += d;
  } else {
    const double d = (z.Y2 - z.Y1) * passo * (verso == 2 ? 1 : -1);
    z.Y1 += d;
    z.Y2 += d;
  }
  RidisegnaZoom(z.X1, z.Y1, z.X2, z.Y2);
}

void GRAFICA::Picture7_MouseDown(int, int, double x, double y) {
  if (!Grafico.ZoomAttivo) return;
  SelezioneInCorso = true;
  FinestraZoom = {x, y, x, y};
  Picture7->SetOverlay(x, y, x, y);
}

void GRAFICA::Picture7_MouseMove(int, int, double x, double y) {
  if (!(SelezioneInCorso && Grafico.ZoomAttivo)) return;
  FinestraZoom.X2 = x;
  FinestraZoom.Y2 = y;
  Picture7->SetOverlay(FinestraZoom.X1, FinestraZoom.Y1, x, y);
}

void GRAFICA::Picture7_MouseUp(int, int, double x, double y) {
  if (!(Grafico.ZoomAttivo && SelezioneInCorso)) return;
  Picture7->ClearOverlay();
  Finestra& z = FinestraZoom;
  z.X2 = x;
  z.Y2 = y;
  if (z.X2 < z.X1) Scambia(z.X1, z.X2);
  if (z.Y2 < z.Y1) Scambia(z.Y1, z.Y2);
  // Both corners are kept inside the window shown, so a band released beyond one edge still gives a window.
  const Finestra& v = Grafico.FinestraVista;
  z.X1 = std::clamp(z.X1, v.X1, v.X2);
  z.X2 = std::clamp(z.X2, v.X1, v.X2);
  z.Y1 = std::clamp(z.Y1, v.Y1, v.Y2);
  z.Y2 = std::clamp(z.Y2, v.Y1, v.Y2);
  SelezioneInCorso = false;
  if (std::fabs(z.X2 - z.X1) < 0.5) z.X2 = z.X1 + 0.5;
  if (std::fabs(z.Y2 - z.Y1) < 0.5) z.Y2 = z.Y1 + 0.5;
  RidisegnaZoom(z.X1, z.Y1, z.X2, z.Y2);
}

GRAFICA* FinestraGrafica() { return qobject_cast<GRAFICA*>(plat::LoadedForm(QStringLiteral("GRAFICA"))); }

GRAFICA* CaricaGrafica() {
  GRAFICA* f = FinestraGrafica();
  if (!f) f = new GRAFICA();
  Grafico.GraficaCaricata = true;
  return f;
}

void AttendiChiusuraGrafica() {
  if (QWidget* menu = plat::LoadedForm(QStringLiteral("menu1"))) menu->hide();
  Grafico.AttesaFinale = true;
  while (plat::FormsCount() == 2) plat::WaitForUser();
}
