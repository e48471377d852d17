#include "main/dialogs/base1.h"

#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>

ModuloBase1 StatoBase1;

namespace {

constexpr int kColonna = 120;         // twips per character column
constexpr int kRiga = 240;            // twips per row
constexpr int kAltezzaAiuto = 645;    // twips, the help line
constexpr int kLarghezzaForm = 7920;  // twips, 66 columns
constexpr int kBordo = 1;             // the window border width, in columns

int Px(double twips) { return plat::TwipsToPixels(static_cast<int>(std::lround(twips))); }

// Places a control by columns and rows.
void Posiziona(QWidget* w, double colonna, double riga, double colonne, double righe) {
  w->setGeometry(Px(colonna * kColonna), Px(riga * kRiga), Px(colonne * kColonna), Px(righe * kRiga));
}

QString Nome(const char* base, int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(i); }

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// The entries of a choice list: each is the text before the next "|".
QStringList Voci(const QString& elenco) {
  QStringList voci;
  QString resto = elenco;
  while (!resto.isEmpty()) {
    const qsizetype barra = resto.indexOf(QLatin1Char('|'));
    if (barra < 0) {
      voci << resto;
      break;
    }
    voci << resto.left(barra);
    resto = resto.mid(barra + 1);
  }
  return voci;
}

QPointer<base1>& FormAperta() {
  static QPointer<base1> form;
  return form;
}

}  // namespace

int base1::LunghezzaMassima(const QString& codice) {
  if (codice == QLatin1String("0") || codice.contains(QLatin1Char('@'))) return 0;
  const double v = plat::Val(codice);
  return v >= 1 && v < 1e9 ? static_cast<int>(v) : 0;  // a code that reads as 0 sets no limit
}

base1::base1(QWidget* parent) : plat::Form(QStringLiteral("base1"), parent) {
  // The form lays itself out from its font's metrics.
  SetFitsTexts(false);
  Form_Load();
}

void base1::Form_Load() {
  const StatoMaschera& m = MascheraCorrente;
  a_ = std::clamp(m.NumeroCampiScelta, 0, 25);
  b_ = std::clamp(m.NumeroCampiTesto, 0, 25 - a_);
  const int n = a_ + b_;
  const int numero = m.NumeroMaschera;
  double argomento = 0;
  if (numero >= 0 && numero <= 100)
    argomento = DefinizioniMaschere.ArgomentoAiutoDefinizione[U(numero)].value_or(0);
  ImpostaContestoAiuto(this, ContestoAiuto(static_cast<int>(argomento)));

  QFont carattere = font();
  carattere.setPixelSize(11);
  setFont(carattere);
  setWindowTitle(m.TitoloMaschera);
  const double altezza = (n + 7) * kRiga + 1.25 * kAltezzaAiuto;
  setFixedSize(Px(kLarghezzaForm), Px(altezza));
  if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
    const QRect area = schermo->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }

  // Labels first, so that the fields lie over their leader dots.
  int lunghezzaScelta = 0, lunghezzaTesto = 0;
  for (int i = 0; i < n; ++i) {
    const auto len = static_cast<int>(m.EtichetteCampi[U(i)].size());
    (i < a_ ? lunghezzaScelta : lunghezzaTesto) = std::max(i < a_ ? lunghezzaScelta : lunghezzaTesto, len);
  }
  CampiProtetti.assign(U(n), false);
  int riga = 1;
  for (int i = 0; i < n; ++i) {
    if (i > 0) riga += (i == a_ && a_ > 0) ? 2 : 1;
    QString mostrato = m.EtichetteCampi[U(i)];
    if (mostrato.startsWith(QChar(0x00A7))) {
      mostrato.remove(0, 1);
      CampiProtetti[U(i)] = true;
    }
    nomi_.push_back(mostrato);
    auto* l = new QLabel(mostrato + QLatin1Char(' ') + QString(std::max<qsizetype>(120 - mostrato.size(), 0), QLatin1Char('.')), this);
    l->setObjectName(Nome("Label1", i));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Posiziona(l, 2, riga, 59, 1);
    l->installEventFilter(this);
    Label1.push_back(l);
  }

  QPalette grigio;
  grigio.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
  grigio.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
  auto proteggi = [&](QWidget* w, int campo) {
    if (!CampiProtetti[U(campo)]) return;
    w->setEnabled(false);
    w->setPalette(grigio);
  };

  const double sinistraScelta = lunghezzaScelta + 3, sinistraTesto = lunghezzaTesto + 3;
  std::vector<std::pair<QString, QString>> avvisi;  // text and title of each warning, in field order
  for (int i = 0; i < a_; ++i) {
    auto* c = new QComboBox(this);
    c->setObjectName(Nome("Combo1", i));
    const QStringList voci = Voci(m.ElenchiScelta[U(i)]);
    c->addItems(voci);
    // A stored number outside the list shows the nearest entry, and the user is told: an unchanged confirm
    // never turns a stored value into another one silently.
    const double v = m.ValoriNumerici[U(i)];
    const double massimo = std::max<double>(static_cast<double>(voci.size()) - 1, 0);
    double pos = std::isfinite(v) ? std::clamp(std::floor(v), 0.0, massimo) : 0.0;
    c->setCurrentIndex(voci.isEmpty() ? -1 : static_cast<int>(pos));
    if (!voci.isEmpty() && (m.SceltaFuoriElenco[U(i)] || pos != v)) {
      QString avviso = Traduci(QStringLiteral(
          "Il valore memorizzato non corrisponde a nessuna voce dell'elenco; viene mostrata la voce:"));
      avviso += QStringLiteral("\r") + voci.at(static_cast<qsizetype>(pos));
      avvisi.emplace_back(avviso, nomi_[U(i)]);
    }
    Posiziona(c, sinistraScelta, 1 + i, 62 - sinistraScelta, 1);
    proteggi(c, i);
    c->installEventFilter(this);
    Combo1.push_back(c);
  }
  // The warnings come once the form is shown, one after another as every message: each waits for the one before.
  if (!avvisi.empty())
    QMetaObject::invokeMethod(
        this,
        [avvisi] {
          for (const auto& [avviso, titolo] : avvisi) plat::MsgBox(avviso, plat::vbOKOnly | plat::vbExclamation, titolo);
        },
        Qt::QueuedConnection);
  for (int k = 0; k < b_; ++k) {
    const int f = a_ + k;
    auto* t = new QLineEdit(this);
    t->setObjectName(Nome("Text1", k));
    // The value is shown whole, also when it is longer than the field allows: the check reports it.
    t->setText(m.ValoriTesto[U(k)]);
    t->setCursorPosition(0);
    Posiziona(t, sinistraTesto, (a_ > 0 ? a_ + 2 : 1) + k, 62 - sinistraTesto, 1);
    proteggi(t, f);
    const QString codice = m.FormatiCampi[U(f)];
    // A numeric field is as wide as the widest value of its range needs.
    if (codice == QLatin1String("0") && (m.MinimiCampi[U(f)] || m.MassimiCampi[U(f)]))
      plat::SetWidestValue(t, plat::WidestNumber(m.MinimiCampi[U(f)].value_or(0), m.MassimiCampi[U(f)].value_or(0)));
    t->installEventFilter(this);
    if (codice.startsWith(QLatin1Char('#')) && codice.contains(QLatin1Char('.'))) {
      // A picture code keeps the typed text no longer than the picture.
      connect(t, &QLineEdit::textEdited, this, [t, codice](const QString& testo) {
        if (testo.size() > codice.size()) t->setText(testo.left(testo.size() - 1));
      });
    }
    Text1.push_back(t);
    // A value of the file that its readers refuse is marked, with the message of the field's check.
    if (m.CampiRifiutati[U(f)]) Segna(k, MessaggioCampo(k));
  }

  // Buttons along one row, spread over 60 columns.
  const int x = std::clamp(m.NumeroSecondoElenco, 0, 6);
  double somma = 0;
  for (int j = 0; j < x - 1; ++j) somma += static_cast<double>(m.SecondoElenco[U(j)].size()) + 2;
  const double spazio = (60 - somma) / (x + 1);
  double prima = 0;
  for (int j = 0; j < x; ++j) {
    const QString& didascalia = m.SecondoElenco[U(j)];
    auto* b = new QPushButton(didascalia, this);
    b->setObjectName(Nome("Command1", j));
    b->setAutoDefault(false);  // Enter in a field never presses a button
    b->setDefault(false);
    Posiziona(b, (j + 1) * spazio + prima, n + 4, static_cast<double>(didascalia.size()) + 2, 2);
    prima += static_cast<double>(didascalia.size());
    connect(b, &QPushButton::clicked, this, [this, j] { Command1_Click(j); });
    Command1.push_back(b);
  }

  Labelhelp = new QLabel(this);
  Labelhelp->setObjectName(QStringLiteral("Labelhelp"));
  Labelhelp->setWordWrap(true);
  Labelhelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Labelhelp->setAutoFillBackground(true);
  QPalette giallo = Labelhelp->palette();
  giallo.setColor(QPalette::Window, QColor(255, 255, 192));
  Labelhelp->setPalette(giallo);
  Labelhelp->setFrameShape(QFrame::Box);
  const double alto = (n + 4 + 2) * kRiga + 0.25 * kAltezzaAiuto;
  Labelhelp->setGeometry(Px(kBordo * kColonna), Px(alto), Px((kLarghezzaForm / kColonna - 3 * kBordo) * kColonna),
                         Px(kAltezzaAiuto));
  Labelhelp->installEventFilter(this);
  AdattaAiTesti();

  // Tab order: the choice fields, the text fields, the buttons.
  QWidget* precedente = nullptr;
  auto ordina = [&](QWidget* w) {
    if (precedente) setTabOrder(precedente, w);
    precedente = w;
  };
  for (QComboBox* c : Combo1) ordina(c);
  for (QLineEdit* t : Text1) ordina(t);
  for (QPushButton* b : Command1) ordina(b);
  for (QComboBox* c : Combo1)
    if (c->isEnabled()) {
      c->setFocus();
      return;
    }
  for (QLineEdit* t : Text1)
    if (t->isEnabled()) {
      t->setFocus();
      return;
    }
}

void base1::AdattaAiTesti() {
  const int colonna = Px(kColonna);
  const int n = a_ + b_;
  // The fields of each kind begin at the column of the layout, or further when a label's name, a blank and a
  // leader dot need more room.
  int sinistraScelta = Combo1.empty() ? 0 : Combo1.front()->x();
  int sinistraTesto = Text1.empty() ? 0 : Text1.front()->x();
  const QFontMetricsF misure(font(), this);
  for (int i = 0; i < n; ++i) {
    const int serve = Label1[U(i)]->x() +
                      static_cast<int>(std::ceil(misure.horizontalAdvance(nomi_[U(i)] + QStringLiteral(" .")))) + 2;
    int& sinistra = i < a_ ? sinistraScelta : sinistraTesto;
    sinistra = std::max(sinistra, serve);
  }
  // Every field ends at column 62, or further when a field needs more room for its longest entry, for the widest
  // value of its range or for the text it opens with; the form grows by as much, within the screen.
  int destra = Px(62 * kColonna);
  for (QComboBox* c : Combo1) destra = std::max(destra, sinistraScelta + plat::SizeForText(c).width());
  for (QLineEdit* t : Text1) destra = std::max(destra, sinistraTesto + plat::SizeForText(t).width());
  // The buttons keep their widths of a caption and two columns, or take what their captions need.
  std::vector<int> larghezze;
  int somma = 0;
  for (std::size_t j = 0; j < Command1.size(); ++j) {
    larghezze.push_back(std::max(Command1[j]->width(), plat::SizeForText(Command1[j]).width()));
    if (j + 1 < Command1.size()) somma += larghezze.back();
  }
  int tutti = 0;
  for (int l : larghezze) tutti += l + colonna;
  int larghezza = std::max(destra + 4 * colonna, tutti + 6 * colonna);
  if (const QScreen* schermo = QGuiApplication::primaryScreen())
    larghezza = std::min(larghezza, std::max(Px(kLarghezzaForm), schermo->availableGeometry().width()));
  destra = larghezza - 4 * colonna;
  for (QComboBox* c : Combo1) c->setGeometry(sinistraScelta, c->y(), std::max(colonna, destra - sinistraScelta), c->height());
  for (QLineEdit* t : Text1) t->setGeometry(sinistraTesto, t->y(), std::max(colonna, destra - sinistraTesto), t->height());
  // The labels reach the column before the fields' end, their leader dots under the fields.
  for (QLabel* l : Label1) l->resize(destra - colonna - l->x(), l->height());
  // The buttons spread over the form less six columns, as over the 60 columns of the layout.
  const double spazio = static_cast<double>(larghezza - 6 * colonna - somma) / (static_cast<double>(Command1.size()) + 1);
  int prima = 0;
  for (std::size_t j = 0; j < Command1.size(); ++j) {
    QPushButton* b = Command1[j];
    b->setGeometry(static_cast<int>(std::lround((static_cast<double>(j) + 1) * spazio)) + prima, b->y(), larghezze[j],
                   b->height());
    prima += larghezze[j] - 2 * colonna;
  }
  Labelhelp->resize(larghezza - 3 * kBordo * colonna, Labelhelp->height());

  // A row is 240 twips high, or as high as the highest glyphs of a field's entries, text or widest value need
  // (accented capitals on a scaled screen): then every row is that high. A list draws its entry's line centred,
  // so its descenders and accents need room as far from the middle as they reach.
  const int rigaProgetto = Px(kRiga);
  int riga = rigaProgetto;
  for (QComboBox* c : Combo1) {
    const int cornice = c->height() - plat::TextRoom(c).height();
    for (int i = 0; i < c->count(); ++i) riga = std::max(riga, plat::CentredInkHeight(c, c->itemText(i)) + cornice);
  }
  for (QLineEdit* t : Text1) {
    const int cornice = t->height() - plat::TextRoom(t).height();
    for (const QString& v : {t->text(), plat::WidestValue(t)})
      if (!v.isEmpty()) riga = std::max(riga, t->fontMetrics().tightBoundingRect(v).height() + cornice);
  }
  int altezza = height();
  if (riga > rigaProgetto) {
    const auto inRighe = [&](int pixel) { return static_cast<int>(std::lround(static_cast<double>(pixel) * riga / rigaProgetto)); };
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w != Labelhelp && !w->isWindow()) w->setGeometry(w->x(), inRighe(w->y()), w->width(), inRighe(w->height()));
    Labelhelp->move(Labelhelp->x(), (a_ + b_ + 6) * riga + Px(0.25 * kAltezzaAiuto));
    altezza = (a_ + b_ + 7) * riga + Px(1.25 * kAltezzaAiuto);
  }
  setFixedSize(larghezza, altezza);
  if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
    const QRect area = schermo->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

void base1::Combo1_GotFocus(int i) { Labelhelp->setText(MascheraCorrente.AiutiCampi[U(i)]); }

void base1::Text1_GotFocus(int k) {
  Labelhelp->setText(MascheraCorrente.AiutiCampi[U(a_ + k)]);
  if (MascheraCorrente.FormatiCampi[U(a_ + k)] != QLatin1String("0")) StatoBase1.CampoCorrente = static_cast<short>(k);
}

void base1::Labelhelp_Click() { plat::MsgBox(Labelhelp->text(), plat::vbOKOnly | plat::vbInformation, windowTitle()); }

bool base1::Text1_KeyPress(int k, int tasto, Qt::KeyboardModifiers modificatori, const QString& testo) {
  QLineEdit* t = Text1[U(k)];
  auto vaiA = [](QWidget* w) {
    if (w && w->isEnabled()) w->setFocus(Qt::TabFocusReason);
  };
  if (tasto == Qt::Key_Up) {
    if (k == 0) vaiA(a_ > 0 ? Combo1[U(a_ - 1)] : nullptr);
    else vaiA(Text1[U(k - 1)]);
    return true;
  }
  if (tasto == Qt::Key_Down || ((tasto == Qt::Key_Return || tasto == Qt::Key_Enter) &&
                                !(modificatori & Qt::ShiftModifier))) {
    if (k < b_ - 1) vaiA(Text1[U(k + 1)]);
    return true;  // Enter moves on; it never confirms the form
  }
  if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) return true;
  // Typing stops at the field's length; a longer text put in by the program stays whole until it is checked.
  const int massimo = LunghezzaMassima(MascheraCorrente.FormatiCampi[U(a_ + k)]);
  if (massimo > 0 && !testo.isEmpty() && testo.at(0).isPrint() && !t->hasSelectedText() &&
      t->text().size() >= massimo)
    return true;
  return false;
}

bool base1::eventFilter(QObject* oggetto, QEvent* evento) {
  const auto tipo = evento->type();
  // Only the controls already made: a control sends events while the form is still being built.
  for (int k = 0; k < static_cast<int>(Text1.size()); ++k) {
    if (oggetto != Text1[U(k)]) continue;
    if (tipo == QEvent::FocusIn) {
      Text1_GotFocus(k);
    } else if (tipo == QEvent::FocusOut) {
      // Leaving the field for another control of the form checks it once the focus has moved; a message box or
      // another window taking the focus is no leaving.
      const auto motivo = static_cast<QFocusEvent*>(evento)->reason();
      if (!chiuso_ && motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason) {
        daVerificare_ = k;
        QMetaObject::invokeMethod(this, &base1::VerificaPendente, Qt::QueuedConnection);
      }
    } else if (tipo == QEvent::KeyPress) {
      auto* e = static_cast<QKeyEvent*>(evento);
      if (Text1_KeyPress(k, e->key(), e->modifiers(), e->text())) return true;
    }
    return plat::Form::eventFilter(oggetto, evento);
  }
  for (int i = 0; i < static_cast<int>(Combo1.size()); ++i)
    if (oggetto == Combo1[U(i)] && tipo == QEvent::FocusIn) Combo1_GotFocus(i);
  if (oggetto == Labelhelp && tipo == QEvent::MouseButtonRelease) Labelhelp_Click();
  return plat::Form::eventFilter(oggetto, evento);
}

void base1::VerificaPendente() {
  const int k = daVerificare_;
  daVerificare_ = -1;
  if (k >= 0 && !chiuso_ && !Unloaded()) ValidaCampo(k);
}

QString base1::MessaggioCampo(int k) const {
  const int f = a_ + k;
  const StatoMaschera& m = MascheraCorrente;
  const QString testo = Text1[U(k)]->text();
  if (m.FormatiCampi[U(f)] == QLatin1String("0")) {
    const auto& minimo = m.MinimiCampi[U(f)];
    const auto& massimo = m.MassimiCampi[U(f)];
    switch (VerificaNumero(testo, minimo, massimo, m.CampiObbligatori[U(f)])) {
      case ErroreNumero::Nessuno: return QString();
      case ErroreNumero::Caratteri:
        return Traduci(QStringLiteral("Non sono ammessi caratteri alfanumerici in un campo di tipo numerico."));
      case ErroreNumero::Intervallo: return MessaggioIntervallo(minimo, massimo);
    }
  }
  // A character the field's file cannot hold (or a line end pasted in) is refused, never written.
  if (const auto carattere = plat::CharacterALineCannotHold(testo)) return MessaggioCarattere(*carattere);
  return QString();
}

void base1::Segna(int k, const QString& motivo) {
  QLineEdit* t = Text1[U(k)];
  if (motivo.isEmpty() == t->styleSheet().isEmpty()) return;
  // The colour of a refused cell of the grid.
  t->setStyleSheet(motivo.isEmpty() ? QString() : QStringLiteral("QLineEdit { background-color: rgb(255, 176, 176); }"));
  t->setToolTip(motivo);
}

bool base1::ValidaCampo(int k) {
  if (k < 0 || k >= b_) return true;
  const int f = a_ + k;
  const StatoMaschera& m = MascheraCorrente;
  QLineEdit* t = Text1[U(k)];
  const QString testo = t->text();
  const QString codice = m.FormatiCampi[U(f)];
  QString messaggio = MessaggioCampo(k);
  if (messaggio.isEmpty() && codice != QLatin1String("0")) {
    const int massimo = LunghezzaMassima(codice);
    if (massimo > 0 && testo.size() > massimo) {
      messaggio = Traduci(QStringLiteral(
          "Il dato introdotto eccede la lunghezza ammessa. Viene quindi troncato alla massima lunghezza ammissibile."));
      t->setText(testo.left(massimo));
    }
  }
  if (MessaggioCampo(k).isEmpty()) Segna(k, QString());
  if (messaggio.isEmpty()) return true;
  plat::MsgBox(messaggio, plat::vbOKOnly | plat::vbCritical, nomi_[U(f)]);
  if (!Unloaded()) {
    daVerificare_ = -1;  // the message took the focus away: that is no leaving of the field
    t->setFocus(Qt::OtherFocusReason);
  }
  return false;
}

void base1::Command1_Click(int j) {
  StatoMaschera& m = MascheraCorrente;
  if (chiuso_) return;
  if (j == 0) {
    // Every field is checked before the values are taken, the one that has the focus included.
    daVerificare_ = -1;
    for (int k = 0; k < b_; ++k)
      if (!CampiProtetti[U(a_ + k)] && !ValidaCampo(k)) return;
    m.AnnullaMaschera = 0;
    for (int i = 0; i < a_; ++i) m.ValoriNumerici[U(i)] = std::max(Combo1[U(i)]->currentIndex(), 0);
    for (int k = 0; k < b_; ++k) m.ValoriTesto[U(k)] = Text1[U(k)]->text();
    chiuso_ = true;
    Unload();
  } else if (j == 1) {
    m.AnnullaMaschera = 1;
    chiuso_ = true;
    Unload();
  } else {
    const QString& aiuto = m.AiutiCampi[U(a_ + b_)];
    if (Avvio.FileAiuto.isEmpty()) plat::MsgBox(aiuto, plat::vbOKOnly, windowTitle());
    else MostraAiuto(ContestoAiuto(aiuto));
  }
}

void base1::Form_Unload() {
  chiuso_ = true;
  daVerificare_ = -1;
}

void RegistraBase1() {
  RegistraFormMaschera(1, {[] {
                             QPointer<base1>& f = FormAperta();
                             if (f && !f->Unloaded()) f->Unload();
                             f = new base1();
                             plat::ShowModal(f);
                           },
                           [] {
                             QPointer<base1>& f = FormAperta();
                             if (f && !f->Unloaded()) f->Unload();
                             f = nullptr;
                           }});
}
