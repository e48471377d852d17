#include "cluster/workform.h"

#include "common/platform/ui.h"
#include "common/texts/testi.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

ModuloFinestraCluster FinestraCluster;

namespace {

// The design of the window, in pixels (twips / 15).
constexpr int kLarghezzaProgetto = 519;  // 7785 twips
constexpr int kAltezzaProgetto = 329;    // 4935 twips
constexpr int kMargine = 8;              // 120 twips
constexpr int kLatoRete = 233;           // 3500 twips
constexpr int kAltoFrame = 248;          // 3720 twips
constexpr int kLarghezzaFrame = 241;     // 3615 twips
constexpr int kAltezzaFrame = 73;        // 1095 twips

enum Simbolo { Meno, Spunta, Piu };

// The picture of a picture button: a raised grey button with its sign, at the screen's pixel ratio.
QImage Icona(Simbolo simbolo, int lato, qreal rapporto) {
  QImage im = plat::ScreenImage(QSize(lato, lato), rapporto, QImage::Format_RGB32);
  im.fill(QColor(192, 192, 192));
  QPainter p(&im);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::white);
  p.drawLine(0, 0, lato - 1, 0);
  p.drawLine(0, 0, 0, lato - 1);
  p.setPen(QColor(96, 96, 96));
  p.drawLine(lato - 1, 0, lato - 1, lato - 1);
  p.drawLine(0, lato - 1, lato - 1, lato - 1);
  p.setPen(QPen(QColor(0, 0, 128), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double m = lato * 0.25, c = lato / 2.0;
  switch (simbolo) {
    case Meno: p.drawLine(QPointF(m, c), QPointF(lato - m, c)); break;
    case Piu:
      p.drawLine(QPointF(m, c), QPointF(lato - m, c));
      p.drawLine(QPointF(c, m), QPointF(c, lato - m));
      break;
    case Spunta: {
      const QPointF punti[] = {{m, c}, {c - 2, lato - m}, {lato - m, m}};
      p.drawPolyline(punti, 3);
      break;
    }
  }
  return im;
}

QGroupBox* Cornice(const QString& nome, int sinistra, QWidget* padre) {
  auto* f = new QGroupBox(padre);
  f->setObjectName(nome);
  f->setGeometry(sinistra, kAltoFrame, kLarghezzaFrame, kAltezzaFrame);
  return f;
}

QPushButton* Pulsante(const QString& nome, const QString& testo, const QRect& r, QWidget* padre) {
  auto* b = new QPushButton(testo, padre);
  b->setObjectName(nome);
  b->setGeometry(r);
  // Enter in the prompt belongs to the prompt, never to a button of the window.
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

QLabel* Etichetta(const QString& nome, const QString& testo, const QRect& r, QWidget* padre) {
  auto* l = new QLabel(testo, padre);
  l->setObjectName(nome);
  l->setGeometry(r);
  return l;
}

}  // namespace

int workform::SinistraProgetto(int frame) {
  switch (frame) {
    case 3: return 264;  // 3960 twips
    case 4: return kMargine;
    default: return 136;  // 2040 twips: Frame1, Frame2 and Frame5 share one place
  }
}

workform::workform() : plat::Form(QStringLiteral("workform")) {
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("Esecuzione Cluster Analysis"));
  QFont carattere = font();
  carattere.setPixelSize(11);
  setFont(carattere);
  resize(kLarghezzaProgetto, kAltezzaProgetto);

  Picture1 = new plat::DrawingSurface(QStringLiteral("Picture1"), this);
  Picture1->SetBackColor(0);
  Picture1->move(kMargine, kMargine);
  Picture1->SetImageSize(QSize(kLatoRete, kLatoRete));
  Picture1->setFocusPolicy(Qt::StrongFocus);
  Picture1->installEventFilter(this);

  Frame1 = Cornice(QStringLiteral("Frame1"), SinistraProgetto(1), this);
  Option1 = new QRadioButton(QStringLiteral("Vicino prossimo"), Frame1);
  Option1->setObjectName(QStringLiteral("Option1"));
  Option1->setGeometry(8, 6, 140, 20);
  Option2 = new QRadioButton(QStringLiteral("Vicino lontano"), Frame1);
  Option2->setObjectName(QStringLiteral("Option2"));
  Option2->setGeometry(8, 26, 140, 20);
  Option3 = new QRadioButton(QStringLiteral("Media di gruppo"), Frame1);
  Option3->setObjectName(QStringLiteral("Option3"));
  Option3->setGeometry(8, 46, 140, 20);
  Option3->setChecked(true);
  Command3 = Pulsante(QStringLiteral("Command3"), QStringLiteral("&Avvia"), QRect(152, 22, 80, 28), Frame1);
  connect(Command3, &QPushButton::clicked, this, &workform::Command3_Click);

  Frame2 = Cornice(QStringLiteral("Frame2"), SinistraProgetto(2), this);
  Command1 = Pulsante(QStringLiteral("Command1"), QStringLiteral("&Conferma"), QRect(14, 22, 100, 28), Frame2);
  Command2 = Pulsante(QStringLiteral("Command2"), QStringLiteral("&Ricomincia"), QRect(126, 22, 100, 28), Frame2);
  connect(Command1, &QPushButton::clicked, this, [this] { Comando(kComandoConferma); });
  connect(Command2, &QPushButton::clicked, this, [this] { Comando(kComandoRicomincia); });

  Frame3 = Cornice(QStringLiteral("Frame3"), SinistraProgetto(3), this);
  Label1 = Etichetta(QStringLiteral("Label1"), QStringLiteral("n. cluster:"), QRect(12, 12, 220, 22), Frame3);
  Label2 = Etichetta(QStringLiteral("Label2"), QStringLiteral("n. poli:"), QRect(12, 40, 220, 22), Frame3);

  Frame4 = Cornice(QStringLiteral("Frame4"), SinistraProgetto(4), this);
  const int lato = 33;
  const struct {
    plat::PictureBox** box;
    QLabel** etichetta;
    const char* nome;
    const char* nomeEtichetta;
    const char* testo;
    Simbolo simbolo;
    int centro;
    QString comando;
  } bottoni[] = {{&Picture4, &Label3, "Picture4", "Label3", "Riduci", Meno, 40, kComandoRiduci},
                 {&Picture3, &Label4, "Picture3", "Label4", "OK", Spunta, 120, kComandoConferma},
                 {&Picture2, &Label5, "Picture2", "Label5", "Aumenta", Piu, 200, kComandoAumenta}};
  for (const auto& b : bottoni) {
    auto* box = new plat::PictureBox(QString::fromLatin1(b.nome), Frame4);
    box->setGeometry(b.centro - lato / 2, 8, lato, lato);
    box->SetPicture(Icona(b.simbolo, lato, plat::ScreenPixelRatio(this)));
    const QString comando = b.comando;
    connect(box, &plat::PictureBox::Click, this, [this, comando] { Comando(comando); });
    connect(box, &plat::PictureBox::DblClick, this, [this, comando] { Comando(comando); });
    *b.box = box;
    *b.etichetta = Etichetta(QString::fromLatin1(b.nomeEtichetta), QString::fromLatin1(b.testo),
                             QRect(b.centro - 38, 46, 76, 20), Frame4);
    (*b.etichetta)->setAlignment(Qt::AlignCenter);
  }

  Frame5 = Cornice(QStringLiteral("Frame5"), SinistraProgetto(5), this);
  Label6 = Etichetta(QStringLiteral("Label6"), QString(), QRect(8, 16, 226, 28), Frame5);
  Label6->setWordWrap(true);
  Text1 = new QLineEdit(Frame5);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setGeometry(8, 46, 120, 21);
  Text1->installEventFilter(this);

  Form_Load();
  AdattaAiTesti();
}

void workform::AdattaAiTesti() {
  // The design fitted to the texts of the language once, with every frame in its place: the frames grow with
  // their controls (the frames that share a place keep one size), the window's design with the frames. The
  // prompts are fitted too, each in turn, and their texts cleared again.
  SetFitsTexts(false);
  for (Domanda d : {DomandaLivello, DomandaDistanza}) {
    ImpostaDomanda(d);
    plat::FitToTexts(this);
  }
  Frame5->setTitle(QString());
  Label6->clear();
  for (int i = 1; i <= 5; ++i) sinistra_[static_cast<std::size_t>(i)] = Riquadro(i)->x();
  altoFrame_ = Frame1->y();
  progetto_ = size();
}

QGroupBox* workform::Riquadro(int frame) const {
  switch (frame) {
    case 1: return Frame1;
    case 2: return Frame2;
    case 3: return Frame3;
    case 4: return Frame4;
    default: return Frame5;
  }
}

void workform::Form_Load() {
  setWindowTitle(Traduci(windowTitle()));
  for (QLabel* l : {Label5, Label4, Label3, Label2, Label1}) l->setText(Traduci(l->text()));
  for (QPushButton* b : {Command2, Command1, Command3}) b->setText(Traduci(b->text()));
  for (QRadioButton* o : {Option3, Option2, Option1}) o->setText(Traduci(o->text()));
}

void workform::Disponi(const QSize& area) {
  // A window narrower than its design keeps the frames at their places from the left edge.
  const int dW = std::max(area.width() - progetto_.width(), 0);
  const int dH = area.height() - progetto_.height();
  const int lato = std::max(kLatoRete + dH, 16);
  Picture1->SetImageSize(QSize(lato, lato));
  Picture1->move(std::max((area.width() - lato) / 2, 0), kMargine);
  for (int i = 1; i <= 5; ++i) Riquadro(i)->move(sinistra_[static_cast<std::size_t>(i)] + dW / 2, altoFrame_ + dH);
}

void workform::MostraDomanda(Domanda domanda) {
  ImpostaDomanda(domanda);
  Text1->clear();
  Frame5->show();
  Text1->setFocus();
}

void workform::ImpostaDomanda(Domanda domanda) {
  if (domanda == DomandaLivello) {
    Frame5->setTitle(Traduci(QStringLiteral("LIVELLO DI AGGREGAZIONE")));
    Label6->setText(Traduci(QStringLiteral("Numero iniziale di cluster")) + QLatin1Char(':'));
  } else {
    Frame5->setTitle(Traduci(QStringLiteral("CLUSTERING NON GERARCHICO")));
    Label6->setText(Traduci(QStringLiteral("Distanza angolare massima di appartenenza ai cluster")) + QLatin1Char(':'));
  }
}

void workform::Comando(const QString& codice) {
  FinestraCluster.TastoComando = codice;
  Picture1->setFocus();
}

void workform::Command3_Click() {
  if (Option1->isChecked()) FinestraCluster.MetodoAggregazione = 1;
  else if (Option2->isChecked()) FinestraCluster.MetodoAggregazione = 2;
  else if (Option3->isChecked()) FinestraCluster.MetodoAggregazione = 3;
}

void workform::Picture1_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down: FinestraCluster.TastoComando = kComandoConferma; break;
    // The Left arrow increases the aggregation (the right-hand button), the Right arrow decreases it.
    case Qt::Key_Left: FinestraCluster.TastoComando = kComandoAumenta; break;
    case Qt::Key_Right: FinestraCluster.TastoComando = kComandoRiduci; break;
    default: break;
  }
}

bool workform::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (watched == Picture1) {
      Picture1_KeyDown(k->key(), k->modifiers() & ~Qt::KeypadModifier);
      return true;
    }
    if (watched == Text1 && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter))
      FinestraCluster.InvioText1 = true;
  }
  return plat::Form::eventFilter(watched, event);
}

void workform::reject() {
  // Escape does not close the window: only its close button does, and that ends the program.
}

bool workform::QueryUnload(bool byUser) {
  // Closing the window ends the program at once, whatever the clustering is doing: no result of the run is
  // written.
  if (byUser) {
    plat::Log(QStringLiteral("end"), objectName(), QStringLiteral("closed by the user"));
    plat::EndProgram(0);
  }
  return true;
}
