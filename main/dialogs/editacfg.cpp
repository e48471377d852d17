#include "main/dialogs/editacfg.h"

#include "common/platform/files.h"
#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"

#include <QColorDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cmath>

namespace {

using plat::TwipsToPixels;

void Posiziona(QWidget* w, int sinistra, int alto, int larghezza, int altezza) {
  w->setGeometry(TwipsToPixels(sinistra), TwipsToPixels(alto), TwipsToPixels(larghezza), TwipsToPixels(altezza));
}

template <typename T>
T* Controllo(QWidget* genitore, const QString& nome, const QString& testo = QString()) {
  auto* w = new T(genitore);
  w->setObjectName(nome);
  if constexpr (std::is_same_v<T, QLabel> || std::is_same_v<T, QRadioButton> || std::is_same_v<T, QPushButton>)
    w->setText(testo);
  return w;
}

// A colour of the file (red + 256 green + 65536 blue) as a Qt colour, and back.
QColor Colore(double valore) {
  const auto v = static_cast<unsigned>(std::clamp(valore, 0.0, double(0xFFFFFF)));
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}
double Valore(const QColor& c) { return c.red() + 256.0 * c.green() + 65536.0 * c.blue(); }

QString Attenzione() { return Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'); }

// The ranges the plots can use: a line thickness in millimetres above 0 and a few millimetres at most; a margin in
// centimetres from 0 to less than half an A4 page.
constexpr double kSpessoreMinimo = 0.01, kSpessoreMassimo = 5;
constexpr double kMargineMinimo = 0, kMargineMassimo = 10;

// A thickness or margin as typed: a decimal comma is read as a point; a text that is not a number gives 0.
QString ComeNumero(const QString& testo) {
  QString t = testo;
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  return t;
}
double ValoreDigitato(const QString& testo) { return plat::Val(ComeNumero(testo)); }

// A typed value is taken only when the whole text is one number within the range: an empty text, or one that is no
// number ("abc", "2cm"), is refused rather than stored as 0 or as the number it begins with.
bool NellIntervallo(const QString& testo, double minimo, double massimo) {
  return VerificaNumero(ComeNumero(testo), minimo, massimo, true) == ErroreNumero::Nessuno;
}

// clang-format off
const char* const kErroreIntervallo = "Vi e' un errore di digitazione del valore introdotto o il valore è fuori dal range previsto; deve infatti appartenere all'intervallo:";
// clang-format on

void AvvisoIntervallo(const QString& titolo, double minimo, double massimo) {
  plat::MsgBox(Traduci(QString::fromUtf8(kErroreIntervallo)) + QLatin1Char('\r') + NumeroTesto(minimo) +
                   QStringLiteral("; ") + NumeroTesto(massimo),
               plat::vbOKOnly + plat::vbCritical, titolo);
}

// True when a font name comes back from the pen table as written: it stands there as one item.
bool NomeCarattereScrivibile(const QString& nome) {
  return !plat::CharacterALineCannotHold(nome) && !nome.contains(QLatin1Char(',')) &&
         !nome.startsWith(QLatin1Char('"')) && plat::TrimBlanks(nome) == nome;
}

}  // namespace

Editacfg::Editacfg(const QString& percorso, QWidget* parent)
    : plat::Form(QStringLiteral("Editacfg"), parent), percorso_(percorso) {
  setWindowTitle(QStringLiteral("SELEZIONE COLORI"));
  setFixedSize(TwipsToPixels(8190), TwipsToPixels(5025));
  List1 = Controllo<QListWidget>(this, QStringLiteral("List1"));
  Posiziona(List1, 120, 120, 5055, 2760);
  List2 = Controllo<QListWidget>(this, QStringLiteral("List2"));
  Posiziona(List2, 120, 3120, 5055, 810);
  Label1 = Controllo<QLabel>(this, QStringLiteral("Label1"), QStringLiteral("Spessore (mm)"));
  Posiziona(Label1, 120, 4200, 1575, 255);
  Text1 = Controllo<QLineEdit>(this, QStringLiteral("Text1"));
  Posiziona(Text1, 120, 4560, 1575, 360);
  Frame2 = new QGroupBox(QStringLiteral("Margini (cm)"), this);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  Posiziona(Frame2, 1920, 4080, 3255, 855);
  Sinistro = Controllo<QLabel>(Frame2, QStringLiteral("Sinistro"), QStringLiteral("Sinistro"));
  Posiziona(Sinistro, 120, 480, 735, 255);
  Text2 = Controllo<QLineEdit>(Frame2, QStringLiteral("Text2"));
  Posiziona(Text2, 960, 420, 495, 330);
  Label2 = Controllo<QLabel>(Frame2, QStringLiteral("Label2"), QStringLiteral("Superiore"));
  Posiziona(Label2, 1560, 480, 975, 255);
  Text3 = Controllo<QLineEdit>(Frame2, QStringLiteral("Text3"));
  Posiziona(Text3, 2640, 420, 495, 330);
  plat::SetWidestValue(Text1, plat::WidestNumber(kSpessoreMinimo, kSpessoreMassimo));
  for (QLineEdit* margine : {Text2, Text3}) plat::SetWidestValue(margine, plat::WidestNumber(kMargineMinimo, kMargineMassimo));
  Frame1 = new QGroupBox(QStringLiteral("Colori"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Posiziona(Frame1, 5280, 0, 2775, 4455);
  for (int c = 0; c <= kColoriPenne; ++c) {
    Option1[c] = Controllo<QRadioButton>(Frame1, QStringLiteral("Option1(%1)").arg(c),
                                         c == 0 ? QStringLiteral("Non disegnato") : QString());
    Posiziona(Option1[c], 120, 360 + 240 * c, 2535, 240);
    Option1[c]->installEventFilter(this);
    connect(Option1[c], &QRadioButton::clicked, this, [this, c] { Option1_Click(c); });
  }
  Command1 = Controllo<QPushButton>(this, QStringLiteral("Command1"), QStringLiteral("&Conferma"));
  Posiziona(Command1, 5280, 4560, 1215, 360);
  Command2 = Controllo<QPushButton>(this, QStringLiteral("Command2"), QStringLiteral("&Annulla"));
  Posiziona(Command2, 6840, 4560, 1215, 375);
  for (QPushButton* b : {Command1, Command2}) b->setAutoDefault(false);
  connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
  connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
  connect(List2, &QListWidget::currentRowChanged, this, [this] { List2_Click(); });
  connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  Form_Load();
}

void Editacfg::Form_Load() {
  for (QWidget* w : std::initializer_list<QWidget*>{Frame2, Label2, Sinistro, Command2, Frame1, Option1[0],
                                                    Command1, Label1}) {
    if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(Traduci(g->title()));
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Traduci(l->text()));
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(Traduci(b->text()));
  }
  setWindowTitle(Traduci(windowTitle()));

  int riga = 0;
  switch (LeggiFileTabellaPenne(percorso_, tabella_, &riga)) {
    case EsitoPenne::Letta: break;
    case EsitoPenne::Mancante:
    case EsitoPenne::NonValida:
      plat::MsgBox(Traduci(QStringLiteral("La tabella delle penne manca o e' incompleta:")) + QLatin1Char('\n') +
                       DescrizioneFile(percorso_, riga),
                   plat::vbOKOnly + plat::vbExclamation, Attenzione());
      return;
  }
  caricata_ = true;
  InAggiornamento = true;
  for (int c = 1; c <= kColoriPenne; ++c) {
    QString nome = tabella_.NomiColori[static_cast<std::size_t>(c)];
    ConvertiCaratteri(nome);  // for display only: the file keeps its own bytes
    NomiColoriMostrati[static_cast<std::size_t>(c)] = nome;
    DipingiColore(c);
  }
  Text2->setText(plat::TrimBlanks(plat::StrNumber(tabella_.MargineSinistro)));
  Text3->setText(plat::TrimBlanks(plat::StrNumber(tabella_.MargineSuperiore)));
  marginiMostrati_ = {Text2->text(), Text3->text()};
  for (int e = 1; e <= kElementiPenne; ++e) {
    QString nome = plat::TrimBlanks(tabella_.NomiElementi[static_cast<std::size_t>(e)]);
    if (nome.isEmpty()) continue;
    ConvertiCaratteri(nome);
    auto* voce = new QListWidgetItem(nome, List1);
    voce->setData(Qt::UserRole, e);  // two elements of the same name stay two elements
  }
  // Only the fonts whose names the pen table holds as one item: no comma, no quote in front, no blank at either end,
  // every character one of its code page.
  for (const QString& famiglia : QFontDatabase::families())
    if (NomeCarattereScrivibile(famiglia)) List2->addItem(famiglia);
  InAggiornamento = false;
  if (List1->count() > 0) List1->setCurrentRow(0);
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect a = s->geometry();
    move(a.x() + (a.width() - width()) / 2, a.y() + (a.height() - height()) / 2);
  }
}

void Editacfg::DipingiColore(int c) {
  const QColor colore = Colore(tabella_.ValoriColori[static_cast<std::size_t>(c)]);
  const QColor testo = colore.lightness() < 128 ? Qt::white : Qt::black;
  Option1[c]->setStyleSheet(QStringLiteral("QRadioButton { background-color: %1; color: %2; }")
                                .arg(colore.name(), testo.name()));
  Option1[c]->setText(NomiColoriMostrati[static_cast<std::size_t>(c)]);
}

int Editacfg::ElementoSelezionato() const {
  const QListWidgetItem* voce = List1->currentItem();
  return voce ? voce->data(Qt::UserRole).toInt() : 0;
}

void Editacfg::SelezionaCarattere(const QString& nome) {
  // A font of the file is matched through the fonts of this machine: a metric twin stands for the font it
  // replaces (Liberation Sans for Arial). No match leaves the list without a selection.
  QList<QListWidgetItem*> trovate = List2->findItems(nome, Qt::MatchFixedString);
  if (trovate.isEmpty() && !plat::TrimBlanks(nome).isEmpty())
    trovate = List2->findItems(QFontInfo(QFont(nome)).family(), Qt::MatchFixedString);
  List2->setCurrentItem(nullptr);
  List2->clearSelection();
  if (!trovate.isEmpty()) {
    List2->setCurrentItem(trovate.first());
    List2->scrollToItem(trovate.first());
  }
}

void Editacfg::List1_Click() {
  const int e = ElementoSelezionato();
  if (e < 1 || e > kElementiPenne) return;
  InAggiornamento = true;
  const auto k = static_cast<std::size_t>(e);
  const double n = std::nearbyint(tabella_.ColoriElementi[k]);
  if (n >= 0 && n <= kColoriPenne) Option1[static_cast<int>(n)]->setChecked(true);
  Text1->setText(NumeroTesto(tabella_.SpessoriElementi[k]));
  SelezionaCarattere(tabella_.CaratteriElementi[k]);
  InAggiornamento = false;
}

void Editacfg::List2_Click() {
  const int e = ElementoSelezionato();
  if (InAggiornamento || e < 1 || !List2->currentItem()) return;
  tabella_.CaratteriElementi[static_cast<std::size_t>(e)] = List2->currentItem()->text();
}

void Editacfg::Option1_Click(int c) {
  const int e = ElementoSelezionato();
  if (InAggiornamento || e < 1) return;
  tabella_.ColoriElementi[static_cast<std::size_t>(e)] = c;
}

void Editacfg::Text1_Change() {
  const int e = ElementoSelezionato();
  if (InAggiornamento || e < 1) return;
  const auto k = static_cast<std::size_t>(e);
  const double v = ValoreDigitato(Text1->text());
  tabella_.SpessoriElementi[k] = std::isfinite(v) ? v : 0;
  spessoriDigitati_[k] = Text1->text();  // checked on confirmation
}

void Editacfg::Option1_DblClick(int c) {
  const int e = ElementoSelezionato();
  if (InAggiornamento || e < 1 || c < 1 || c > kColoriPenne) return;
  const auto k = static_cast<std::size_t>(c);
  QPointer<QColorDialog> dialogo = new QColorDialog(Colore(tabella_.ValoriColori[k]), this);
  dialogo->setObjectName(QStringLiteral("CMDialog1"));
  plat::ShowModal(dialogo);
  if (!dialogo) return;
  const bool scelto = dialogo->result() == QDialog::Accepted;
  const double valore = Valore(dialogo->selectedColor().isValid() ? dialogo->selectedColor() : dialogo->currentColor());
  delete dialogo;
  if (!scelto || valore == tabella_.ValoriColori[k]) return;
  tabella_.ValoriColori[k] = valore;
  // A name the pen table cannot hold is refused with its character, and asked again as typed.
  QString nome = NomiColoriMostrati[k];
  for (;;) {
    nome = plat::InputBox(Traduci(QStringLiteral("Nome colore:")), Traduci(QStringLiteral("DESCRIZIONE COLORI")), nome);
    const auto carattere = plat::CharacterALineCannotHold(nome);
    if (!carattere) break;
    plat::MsgBox(MessaggioCarattere(*carattere), plat::vbOKOnly + plat::vbCritical,
                 Traduci(QStringLiteral("DESCRIZIONE COLORI")));
  }
  NomiColoriMostrati[k] = nome;
  nomeColoreCambiato_[k] = true;
  DipingiColore(c);
}

bool Editacfg::eventFilter(QObject* oggetto, QEvent* evento) {
  if (evento->type() == QEvent::MouseButtonDblClick)
    for (int c = 1; c <= kColoriPenne; ++c)
      if (oggetto == Option1[c]) {
        Option1_DblClick(c);
        return true;
      }
  return plat::Form::eventFilter(oggetto, evento);
}

bool Editacfg::ValoriAmmessi() {
  // The thicknesses typed, element by element: a refused one is shown again as typed, with its message.
  for (int e = 1; e <= kElementiPenne; ++e) {
    const auto k = static_cast<std::size_t>(e);
    if (!spessoriDigitati_[k] ||
        NellIntervallo(*spessoriDigitati_[k], kSpessoreMinimo, kSpessoreMassimo))
      continue;
    for (int i = 0; i < List1->count(); ++i)
      if (List1->item(i)->data(Qt::UserRole).toInt() == e) List1->setCurrentRow(i);
    InAggiornamento = true;
    Text1->setText(*spessoriDigitati_[k]);
    InAggiornamento = false;
    AvvisoIntervallo(List1->currentItem() ? List1->currentItem()->text() + QStringLiteral(" - ") + Label1->text()
                                          : Label1->text(),
                     kSpessoreMinimo, kSpessoreMassimo);
    Text1->setFocus();
    Text1->selectAll();
    return false;
  }
  // The margins, when the user changed them.
  const std::array<std::pair<QLineEdit*, QLabel*>, 2> margini = {{{Text2, Sinistro}, {Text3, Label2}}};
  for (std::size_t i = 0; i < margini.size(); ++i) {
    QLineEdit* t = margini[i].first;
    if (t->text() == marginiMostrati_[i] ||
        NellIntervallo(t->text(), kMargineMinimo, kMargineMassimo))
      continue;
    AvvisoIntervallo(Frame2->title() + QStringLiteral(" - ") + margini[i].second->text(), kMargineMinimo,
                     kMargineMassimo);
    t->setFocus();
    t->selectAll();
    return false;
  }
  return true;
}

void Editacfg::Command1_Click() {
  if (!ValoriAmmessi()) return;
  TabellaPenne scritta = tabella_;
  // Names are written as the file held them unless the user gave a colour a new name.
  for (int c = 1; c <= kColoriPenne; ++c)
    if (nomeColoreCambiato_[static_cast<std::size_t>(c)])
      scritta.NomiColori[static_cast<std::size_t>(c)] = NomiColoriMostrati[static_cast<std::size_t>(c)];
  const double sinistro = ValoreDigitato(Text2->text()), superiore = ValoreDigitato(Text3->text());
  scritta.MargineSinistro = std::isfinite(sinistro) ? sinistro : 0;
  scritta.MargineSuperiore = std::isfinite(superiore) ? superiore : 0;
  if (!ScriviFileTabellaPenne(percorso_, scritta)) {
    plat::MsgBox(Traduci(QStringLiteral("Il file seguente non puo' essere scritto:")) + QLatin1Char('\r') +
                     plat::ResolveForWrite(percorso_),
                 plat::vbOKOnly, Attenzione());
    return;
  }
  Unload();
}

void Editacfg::Command2_Click() { Unload(); }

void MostraEditacfg() {
  QPointer<Editacfg> f = new Editacfg(FileTabellaPenne());
  if (!f->Caricata()) {
    f->Unload();
    return;
  }
  plat::ShowModal(f);
  if (f && !f->Unloaded()) f->Unload();
}
