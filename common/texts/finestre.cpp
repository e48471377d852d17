#include "common/texts/finestre.h"

#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/platform/style.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const char* const kCodiciFlag[] = {"ENG", "FRA", "DEU", "ITA", "ESP", "POR"};
const int kLingueFlag[] = {5, 3, 2, 1, 4, 6};

// Shows the language-choice window until a flag is picked, or until the user gives up when no earlier choice
// exists (false). Returns without a choice also when language.cfg exists already.
bool SceltaLingua(const QString& fileLingua) {
  for (;;) {
    auto* finestra = new selezling();
    finestra->Prepara();
    bool scelta = false;
    QObject::connect(finestra, &selezling::Scelto, [&scelta](int) { scelta = true; });
    QPointer<selezling> guardia(finestra);
    plat::ShowModal(finestra);
    if (guardia) guardia->Unload();
    if (scelta || plat::FileExists(fileLingua)) return true;
    const auto risposta = plat::MsgBox(
        QStringLiteral("No language was chosen. Click the flag of your language to go on, or Cancel to end."),
        plat::vbOKCancel | plat::vbExclamation, QStringLiteral("Select your language..."));
    if (risposta != plat::vbOK) return false;
  }
}

// Wherever the windows of the start-up are linked, the main program's start-up asks for the language with them.
[[maybe_unused]] const bool kSceltaLinguaImpostata = (SceltaLinguaAvvio = SceltaLingua, true);

}  // namespace

// The default printer's device context, looked up when something is first printed: the query loads the system's
// printing plug-in, which a start-up need not pay for. A printer that cannot be opened is reported once (unless
// the user asked not to be warned again) and the printer object's own context is used.
plat::HDC PreparaStampante() {
  if (Avvio.DCStampante != 0 || Avvio.NumeroModulo == 1) return Avvio.DCStampante;
  plat::PrinterObject& stampante = plat::Printer();
  Avvio.DCStampante = plat::CreateDC(stampante.DriverName(), stampante.DeviceName());
  if (Avvio.DCStampante == 0) {
    const QString conflitto = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("conflict.txt"));
    if (plat::Environ(QStringLiteral("OS")).toUpper() != QLatin1String("WINDOWS_NT") && !plat::FileExists(conflitto)) {
      const QString testo =
          stampante.DeviceName() +
          QStringLiteral(" printer users: an uncorrect reproduction of the fonts in the graphical printed output "
                         "may occur due to a probable conflict between the printer driver and the kernel of the "
                         "operating system. The problem may be generally solved installing the driver of your "
                         "printer from the Microsoft Windows CR-ROM.");
      if (plat::MsgBox(testo + QStringLiteral(" Do you want to be warned again about this probable conflict?"),
                       plat::vbYesNo | plat::vbInformation, QStringLiteral("INFO")) == plat::vbNo) {
        plat::SeqWriter w(conflitto);
        w.WriteLine(testo);
        w.Close();
      }
    }
    Avvio.DCStampante = stampante.hDC();
  }
  return Avvio.DCStampante;
}

int EseguiProgramma(int argc, char** argv, int (*body)(int, char**)) {
  plat::CheckTemporaryFolder();
  plat::Application app(argc, argv);
  plat::UseSuiteStyle();
  return body(argc, argv);
}

void Centra(QWidget* w) {
  const QScreen* schermo = QGuiApplication::primaryScreen();
  if (!schermo) return;
  const QRect area = schermo->geometry();
  w->move(area.x() + (area.width() - w->width()) / 2, area.y() + (area.height() - w->height()) / 2);
}

QString selezling::CodiceFlag(int i) { return QString::fromLatin1(kCodiciFlag[i - 1]); }
int selezling::LinguaFlag(int i) { return kLingueFlag[i - 1]; }

selezling::selezling(QWidget* parent) : plat::Form(QStringLiteral("selezling"), parent) {
  setWindowTitle(QStringLiteral("Select your language..."));
  const int lato = plat::TwipsToPixels(kLatoFlag);
  for (int i = 1; i <= 6; ++i) {
    auto* p = new plat::PictureBox(QStringLiteral("Picture%1").arg(i), this);
    p->SetPicture(DisegnaBandiera(CodiceFlag(i), lato, plat::ScreenPixelRatio(this)));
    p->setCursor(Qt::PointingHandCursor);
    // Each language named in itself; the flags are reached with Tab or the arrow keys and chosen with Enter.
    static const char* const nomi[] = {"English", "Fran\u00e7ais", "Deutsch", "Italiano", "Espa\u00f1ol",
                                       "Portugu\u00eas"};
    p->setToolTip(QString::fromUtf8(nomi[i - 1]));
    p->setAccessibleName(p->toolTip());
    p->setFocusPolicy(Qt::StrongFocus);
    sinistra_[static_cast<std::size_t>(i - 1)] = kSinistraPrima + (i - 1) * kPasso;
    p->setGeometry(plat::TwipsToPixels(sinistra_[static_cast<std::size_t>(i - 1)]), plat::TwipsToPixels(kAltoFlag),
                   lato, lato);
    const int lingua = LinguaFlag(i);
    connect(p, &plat::PictureBox::Click, this, [this, lingua] { Scegli(lingua); });
    picture_[static_cast<std::size_t>(i - 1)] = p;
  }
  larghezza_ = kSinistraPrima + 6 * kPasso + 70;
  setFixedSize(plat::TwipsToPixels(larghezza_), plat::TwipsToPixels(kAltoFlag * 2 + kLatoFlag));
}

void selezling::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) {
    focusNextPrevChild(false);
    return;
  }
  if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) {
    focusNextPrevChild(true);
    return;
  }
  plat::Form::keyPressEvent(event);
}

int selezling::Prepara() {
  const int passo = kPasso;  // spacing of the designed row: left of Picture2 minus left of Picture1
  int x = kSinistraPrima;
  for (int i = 1; i <= 6; ++i) {
    plat::PictureBox* p = Picture(i);
    const QString pennino = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("korven") + CodiceFlag(i) +
                                                                      QStringLiteral(".cfg"));
    if (!plat::FileExists(pennino)) {
      p->hide();
      sinistra_[static_cast<std::size_t>(i - 1)] = -1;
    } else {
      sinistra_[static_cast<std::size_t>(i - 1)] = x;
      p->move(plat::TwipsToPixels(x), p->y());
      p->show();
      x += passo;
    }
  }
  larghezza_ = x + 70;
  setFixedSize(plat::TwipsToPixels(larghezza_), height());
  Centra(this);
  for (int i = 1; i <= 6; ++i)
    if (sinistra_[static_cast<std::size_t>(i - 1)] >= 0) {
      Picture(i)->setFocus();
      break;
    }
  return larghezza_;
}

int selezling::SinistraTwips(int i) const { return sinistra_[static_cast<std::size_t>(i - 1)]; }

void selezling::Scegli(int lingua) {
  plat::SeqWriter w(plat::JoinPath(plat::ProgramFolder(), QStringLiteral("language.cfg")));
  w.WriteNumber(lingua);
  if (!w.Close()) {
    plat::MsgBox(QStringLiteral("language.cfg cannot be written in %1.").arg(plat::ProgramFolder()),
                 plat::vbOKOnly | plat::vbExclamation, QStringLiteral("Select your language..."));
    return;
  }
  scelta_ = true;
  emit Scelto(lingua);
  Unload();
  plat::DoEvents();
}

QImage DisegnaBandiera(const QString& codice, int lato, qreal rapporto) {
  QImage img = plat::ScreenImage(QSize(lato, lato), rapporto, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const int h = lato * 2 / 3;  // flags keep a 3:2 shape inside the square picture
  const int top = (lato - h) / 2;
  const QRect r(0, top, lato, h);
  auto verticali = [&](std::initializer_list<QColor> colori, std::initializer_list<int> parti) {
    int totale = 0;
    for (int q : parti) totale += q;
    int x = r.left();
    auto c = colori.begin();
    int somma = 0;
    for (int q : parti) {
      somma += q;
      const int x2 = r.left() + r.width() * somma / totale;
      p.fillRect(QRect(x, r.top(), x2 - x, r.height()), *c++);
      x = x2;
    }
  };
  auto orizzontali = [&](std::initializer_list<QColor> colori, std::initializer_list<int> parti) {
    int totale = 0;
    for (int q : parti) totale += q;
    int y = r.top();
    auto c = colori.begin();
    int somma = 0;
    for (int q : parti) {
      somma += q;
      const int y2 = r.top() + r.height() * somma / totale;
      p.fillRect(QRect(r.left(), y, r.width(), y2 - y), *c++);
      y = y2;
    }
  };
  const QString c = codice.toUpper();
  if (c == QLatin1String("ITA")) {
    verticali({QColor(0, 146, 70), Qt::white, QColor(206, 43, 55)}, {1, 1, 1});
  } else if (c == QLatin1String("FRA")) {
    verticali({QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)}, {1, 1, 1});
  } else if (c == QLatin1String("DEU")) {
    orizzontali({Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)}, {1, 1, 1});
  } else if (c == QLatin1String("ESP")) {
    orizzontali({QColor(170, 21, 27), QColor(241, 191, 0), QColor(170, 21, 27)}, {1, 2, 1});
  } else if (c == QLatin1String("POR")) {
    verticali({QColor(0, 102, 0), QColor(255, 0, 0)}, {2, 3});
    p.setBrush(QColor(255, 204, 0));
    p.setPen(Qt::NoPen);
    const int d = h / 2;
    p.drawEllipse(QPoint(r.left() + r.width() * 2 / 5, r.center().y()), d / 2, d / 2);
  } else if (c == QLatin1String("ENG")) {
    p.fillRect(r, QColor(1, 33, 105));
    p.setClipRect(r);
    const double w = r.height() / 5.0;
    p.setPen(QPen(Qt::white, w));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    p.setPen(QPen(QColor(200, 16, 46), w / 3));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.bottomLeft(), r.topRight());
    p.fillRect(QRectF(r.center().x() - w, r.top(), 2 * w, r.height()), Qt::white);
    p.fillRect(QRectF(r.left(), r.center().y() - w, r.width(), 2 * w), Qt::white);
    p.fillRect(QRectF(r.center().x() - w * 0.6, r.top(), 1.2 * w, r.height()), QColor(200, 16, 46));
    p.fillRect(QRectF(r.left(), r.center().y() - w * 0.6, r.width(), 1.2 * w), QColor(200, 16, 46));
  }
  p.setClipping(false);
  p.setPen(QPen(Qt::gray, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  return img;
}

loading::loading(QWidget* parent) : plat::Form(QStringLiteral("loading"), parent) {
  setWindowTitle(QStringLiteral("FRATTIX"));
  auto* layout = new QVBoxLayout(this);
  auto* etichetta = new QLabel(QStringLiteral("Loading..."), this);
  etichetta->setObjectName(QStringLiteral("Label1"));
  etichetta->setAlignment(Qt::AlignCenter);
  layout->addWidget(etichetta);
  resize(240, 90);
  Centra(this);
}
