#include "main/dialogs/base2_32.h"

#include "common/platform/files.h"
#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

int NumeroRigheDati = 0;

namespace {

constexpr int kRigheVisibili = 15;  // Enter scrolls once the cursor is this many rows below the first shown
constexpr int kRuoloSegno = Qt::UserRole + 1;  // item data of a cell a paste refused: why

QString Titolo() { return Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'); }

bool Vuota(const QString& t) { return plat::TrimBlanks(t).isEmpty(); }

// Control characters (tabs, line ends ...) never reach a cell: they would break the rows of the files the cells
// are stored in.
QString SenzaControllo(const QString& t) {
  QString r;
  r.reserve(t.size());
  for (const QChar c : t)
    if (c.unicode() >= 32 && c.unicode() != 127) r += c;
  return r;
}

// The codes a coded column accepts: the list given by the calling command, else the items of its help text after
// "$$$" (each item "code=meaning", the code the text before its first "=").
QStringList CodiciDellaColonna(int c) {
  const StatoMaschera& m = MascheraCorrente;
  const auto u = static_cast<std::size_t>(c);
  if (!m.CodiciColonne[u].isEmpty()) return m.CodiciColonne[u];
  const QString& aiuto = m.AiutiCampi[u];
  QStringList codici;
  const qsizetype p = aiuto.indexOf(QLatin1String("$$$"));
  for (const QString& voce : (aiuto.mid(p + 3) + QLatin1Char(',')).split(QLatin1Char(','))) {
    const qsizetype uguale = voce.indexOf(QLatin1Char('='));
    codici << plat::TrimBlanks(uguale < 0 ? voce : voce.left(uguale));
  }
  return codici;
}

int TwipsTesto(const QFontMetrics& fm, const QString& t) { return fm.horizontalAdvance(t); }

}  // namespace

EsitoCella VerificaCella(int c, const QString& testo) {
  EsitoCella e;
  e.testo = testo;
  if (c < 1 || c > 15) return e;
  const StatoMaschera& m = MascheraCorrente;
  const auto u = static_cast<std::size_t>(c);
  const QString v = plat::TrimBlanks(testo);
  if (v.isEmpty()) return e;
  const QString& formato = m.FormatiCampi[u];
  const int larghezza = m.LarghezzeColonne[u];
  bool intervallo = false, caratteri = false, lunghezza = false, nonAmmesso = false;
  std::optional<char32_t> nonScrivibile;  // a character of a text cell that the file cannot hold
  if (m.AiutiCampi[u].contains(QLatin1String("$$$"))) {
    nonAmmesso = true;
    for (const QString& codice : CodiciDellaColonna(c)) {
      if (!plat::TrimBlanks(codice).isEmpty() &&
          plat::TrimBlanks(codice).compare(v, Qt::CaseInsensitive) == 0) {
        nonAmmesso = false;
        e.testo = plat::TrimBlanks(codice);  // stored as the list writes it
        break;
      }
    }
  } else if (formato.startsWith(QLatin1Char('/'))) {
    nonScrivibile = plat::CharacterALineCannotHold(v);
    if (!formato.contains(QLatin1Char('@')) && v.size() > formato.size()) lunghezza = true;
  } else {
    // What a numeric field of the field form takes: one whole finite number within the column's bounds.
    const ErroreNumero n = VerificaNumero(v, m.MinimiCampi[u], m.MassimiCampi[u]);
    caratteri = n == ErroreNumero::Caratteri;
    intervallo = n == ErroreNumero::Intervallo;
  }
  // A text longer than the record field it is stored in is refused, never cut.
  if (larghezza > 0 && v.size() > larghezza && !nonAmmesso) lunghezza = true;
  if (intervallo) {
    const QString minimo = m.MinimiCampi[u] ? plat::StrNumber(*m.MinimiCampi[u]) : QString();
    const QString massimo = m.MassimiCampi[u] ? plat::StrNumber(*m.MassimiCampi[u]) : QString();
    e.messaggio = Traduci(QStringLiteral(
                      "Vi e' un errore di digitazione del valore introdotto o il valore è fuori dal range previsto; deve infatti appartenere all'intervallo:")) +
                  QStringLiteral("\r\n") + minimo + QStringLiteral("; ") + massimo;
  } else if (nonAmmesso) {
    e.messaggio = Traduci(QStringLiteral("Il dato inserito non e' compreso tra quelli ammissibili."));
  } else if (caratteri) {
    e.messaggio = Traduci(QStringLiteral("Non sono ammessi caratteri alfanumerici in un campo di tipo numerico."));
  } else if (nonScrivibile) {
    e.messaggio = MessaggioCarattere(*nonScrivibile);
  } else if (lunghezza) {
    int massimo = larghezza;
    if (formato.startsWith(QLatin1Char('/')) && !formato.contains(QLatin1Char('@')))
      massimo = larghezza > 0 ? std::min(larghezza, static_cast<int>(formato.size())) : static_cast<int>(formato.size());
    e.messaggio = Traduci(QStringLiteral("Il dato introdotto eccede la lunghezza ammessa; caratteri ammessi:")) +
                  QLatin1Char(' ') + QString::number(massimo);
  }
  e.valido = e.messaggio.isEmpty();
  return e;
}

// ---------------------------------------------------------------------------------------------------------------

void GrigliaTabella::keyPressEvent(QKeyEvent* evento) {
  bool gestito = false;
  emit TastoPremuto(evento->key(), evento->modifiers(), &gestito);
  if (gestito) return;
  const int tasto = evento->key();
  const bool ctrl = evento->modifiers() & Qt::ControlModifier;
  int codice = -1;
  if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) codice = 13;
  else if (tasto == Qt::Key_Escape) codice = 27;
  else if (tasto == Qt::Key_Backspace) codice = 8;
  else if (tasto == Qt::Key_Delete) codice = 127;
  else if (ctrl && tasto == Qt::Key_C) codice = 3;
  else if (ctrl && tasto == Qt::Key_V) codice = 22;
  else if (!ctrl && !evento->text().isEmpty() && evento->text().at(0).unicode() >= 32 &&
           evento->text().at(0).unicode() != 127)
    codice = evento->text().at(0).unicode();
  if (codice >= 0) {
    for (int i = 0; codice >= 32 && codice != 127 && i < evento->text().size(); ++i)
      emit CarattereDigitato(evento->text().at(i).unicode());
    if (codice < 32 || codice == 127) emit CarattereDigitato(codice);
    evento->accept();
    return;
  }
  // Arrows, page keys, Home and End move the cursor as the grid does.
  QTableWidget::keyPressEvent(evento);
}

// ---------------------------------------------------------------------------------------------------------------

base2_32::base2_32(QWidget* parent) : plat::Form(QStringLiteral("base2_32"), parent) {
  MSFlexGrid1 = new GrigliaTabella(this);
  MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
  MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  MSFlexGrid1->verticalHeader()->hide();
  MSFlexGrid1->setTabKeyNavigation(false);
  Text1 = new QLineEdit(MSFlexGrid1->viewport());
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->hide();
  Text1->installEventFilter(this);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->installEventFilter(this);
  MSFlexGrid1->installEventFilter(this);
  connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, [this] { MSFlexGrid1_EnterCell(); });
  connect(MSFlexGrid1, &GrigliaTabella::TastoPremuto, this, &base2_32::MSFlexGrid1_KeyDown);
  connect(MSFlexGrid1, &GrigliaTabella::CarattereDigitato, this, &base2_32::MSFlexGrid1_KeyPress);
  connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this, [this] { MSFlexGrid1_DblClick(); });
  Form_Load();
}

int base2_32::Row() const { return MSFlexGrid1->currentRow() + 1; }
int base2_32::Col() const { return MSFlexGrid1->currentColumn(); }

QString base2_32::Testo(int riga, int colonna) const {
  const QTableWidgetItem* i = MSFlexGrid1->item(riga - 1, colonna);
  return i ? i->text() : QString();
}

void base2_32::ImpostaTesto(int riga, int colonna, const QString& testo) {
  if (riga < 1 || riga >= NumeroRighe || colonna < 0 || colonna >= MSFlexGrid1->columnCount()) return;
  QTableWidgetItem* i = MSFlexGrid1->item(riga - 1, colonna);
  if (!i) {
    i = new QTableWidgetItem();
    i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (colonna == 0) i->setFlags(Qt::ItemIsEnabled);
    MSFlexGrid1->setItem(riga - 1, colonna, i);
  }
  i->setText(testo);
}

void base2_32::SpostaCursore(int riga, int colonna) {
  const bool prima = Occupato;
  Occupato = true;
  MSFlexGrid1->setCurrentCell(riga - 1, colonna);
  Occupato = prima;
}

void base2_32::VaiACella(int riga, int colonna) {
  MSFlexGrid1->setCurrentCell(std::clamp(riga, 1, NumeroRighe - 1) - 1, colonna);
  MSFlexGrid1->setFocus();
}

void base2_32::Clessidra(bool on) {
  if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void base2_32::Form_Load() {
  const StatoMaschera& m = MascheraCorrente;
  const int u = m.UltimaColonna;
  Occupato = true;
  const auto argomento = m.NumeroMaschera >= 0 && m.NumeroMaschera <= 100
                             ? DefinizioniMaschere.ArgomentoAiutoDefinizione[static_cast<std::size_t>(m.NumeroMaschera)]
                             : std::nullopt;
  ImpostaContestoAiuto(this, argomento ? ContestoAiuto(static_cast<int>(*argomento)) : 0);
  Label1->clear();
  setWindowTitle(m.TitoloMaschera);
  MSFlexGrid1->setRowCount(NumeroRighe - 1);
  MSFlexGrid1->setColumnCount(u + 1);
  QStringList intestazioni;
  for (int c = 0; c <= u; ++c) intestazioni << m.IntestazioniColonne[static_cast<std::size_t>(c)];
  MSFlexGrid1->setHorizontalHeaderLabels(intestazioni);
  MSFlexGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);

  // Buttons side by side, each as wide as its caption with two blanks on either side.
  const QFontMetrics fm(font());
  const int spazio = plat::TwipsToPixels(256);
  int x = spazio / 2;
  for (int j = 0; j < m.NumeroSecondoElenco; ++j) {
    auto* b = new QPushButton(m.SecondoElenco[static_cast<std::size_t>(j)], this);
    b->setObjectName(QStringLiteral("Command1(%1)").arg(j));
    b->setAutoDefault(false);
    b->setFixedWidth(TwipsTesto(fm, QStringLiteral("  ") + b->text().remove(QLatin1Char('&')) + QStringLiteral("  ")) + 8);
    connect(b, &QPushButton::clicked, this, [this, j] { Command1_Click(j); });
    Command1.push_back(b);
  }

  // Column widths from the headings and the format codes.
  int larghezza = 0;
  for (int c = 0; c <= u; ++c) {
    const auto k = static_cast<std::size_t>(c);
    const int w = std::max(TwipsTesto(fm, QStringLiteral("  ") + m.IntestazioniColonne[k] + QStringLiteral(" ")),
                           TwipsTesto(fm, QStringLiteral(" ") + QString(m.FormatiCampi[k].size(), QLatin1Char('8')) +
                                              QStringLiteral(" "))) + 6;
    MSFlexGrid1->setColumnWidth(c, w);
    larghezza += w;
  }
  const int altezzaRiga = fm.height() + 6;
  MSFlexGrid1->verticalHeader()->setDefaultSectionSize(altezzaRiga);
  MSFlexGrid1->verticalHeader()->setMinimumSectionSize(altezzaRiga);

  // Row numbers in column 0; the values of ValoriTesto.
  MSFlexGrid1->setUpdatesEnabled(false);
  for (int r = 1; r < NumeroRighe; ++r) ImpostaTesto(r, 0, QString::number(r));
  const QString primo = m.ValoriTesto[0];
  const qsizetype barra = primo.indexOf(QLatin1Char('|'));
  NumeroRigheDati = static_cast<int>(plat::Val(barra < 0 ? primo : primo.left(barra)));
  if (barra >= 0) setWindowTitle(primo.mid(barra + 1));
  // Never more rows than the grid holds, nor than ValoriTesto carries.
  const int maxRighe = u > 0 ? std::min(NumeroRighe - 1, kMassimoValoriTesto / u) : 0;
  NumeroRigheDati = std::clamp(NumeroRigheDati, 0, maxRighe);
  std::size_t k = 0;
  for (int r = 1; r <= NumeroRigheDati; ++r)
    for (int c = 1; c <= u; ++c) ImpostaTesto(r, c, plat::TrimBlanks(SenzaControllo(m.ValoriTesto[++k])));
  for (int r = 1; r < NumeroRighe; ++r)
    for (int c = 1; c <= u; ++c)
      if (!MSFlexGrid1->item(r - 1, c)) ImpostaTesto(r, c, QString());
  // The values of the file that its readers refuse are marked as a refused pasted cell is, with the cell check's
  // message, so that the confirmation brings the user to each of them. A cell whose control character was left
  // out (no cell holds one) is marked with that character.
  for (const auto& [r, c] : m.CelleRifiutate) {
    if (r < 1 || r > NumeroRigheDati || c < 1 || c > u) continue;
    const EsitoCella e = VerificaCella(c, Testo(r, c));
    QString motivo = e.messaggio;
    if (e.valido) {
      const QString& letto = m.ValoriTesto[static_cast<std::size_t>((r - 1) * u + c)];
      if (const auto carattere = plat::CharacterALineCannotHold(letto)) motivo = MessaggioCarattere(*carattere);
    }
    Segna(r, c, motivo);
  }
  MSFlexGrid1->setUpdatesEnabled(true);

  // Geometry: the grid shows about 16 rows; the help line and the buttons below it.
  const int margine = plat::TwipsToPixels(120);
  const int larghezzaGriglia = larghezza + MSFlexGrid1->verticalScrollBar()->sizeHint().width() + 4;
  const int altezzaGriglia = MSFlexGrid1->horizontalHeader()->sizeHint().height() + 16 * altezzaRiga + 4;
  int larghezzaBottoni = spazio / 2;
  for (QPushButton* b : Command1) larghezzaBottoni += b->width() + spazio / 2;
  const int larghezzaForm = std::max(larghezzaGriglia, larghezzaBottoni) + 2 * margine;
  MSFlexGrid1->setGeometry(margine, margine, larghezzaGriglia, altezzaGriglia);
  const int altezzaAiuto = 3 * fm.height() + 6;
  Label1->setGeometry(margine, 2 * margine + altezzaGriglia, larghezzaForm - 2 * margine, altezzaAiuto);
  const int yBottoni = 3 * margine + altezzaGriglia + altezzaAiuto;
  x = margine;
  for (QPushButton* b : Command1) {
    b->move(x, yBottoni);
    x += b->width() + spazio / 2;
  }
  const int altezzaBottoni = Command1.empty() ? 0 : Command1.front()->sizeHint().height();
  setFixedSize(larghezzaForm, yBottoni + altezzaBottoni + margine);

  Occupato = false;
  Text1->hide();
  PrimoTasto = false;
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect a = s->geometry();
    move(a.x() + (a.width() - width()) / 2, a.y() + (a.height() - height()) / 2);
  }
  ColonnaPrecedente = 1;
  RigaPrecedente = 1;
  if (u >= 1) {
    Occupato = true;
    MSFlexGrid1->setCurrentCell(0, 1);
    Occupato = false;
    VaiACella(2, 1);
    VaiACella(1, 1);
    TestoCella = Testo(Row(), Col());
    MostraAiutoColonna();
  }
}

void base2_32::MostraAiutoColonna() {
  const int c = Col();
  if (c < 0 || c > 25) return;
  const QString& h = MascheraCorrente.AiutiCampi[static_cast<std::size_t>(c)];
  const qsizetype p = h.indexOf(QLatin1String("$$$"));
  Label1->setText(p < 0 ? h : h.left(p) + QStringLiteral("\r\n") + h.mid(p + 3));
}

void base2_32::MSFlexGrid1_EnterCell() {
  if (Occupato) return;
  const int r = Row(), c = Col();
  if (r < 1) return;
  if (c == 0) {  // the row-number column is never current
    VaiACella(r, 1);
    return;
  }
  if (r != RigaPrecedente || c != ColonnaPrecedente) {
    PrimoTasto = true;
    validazionedati();
    if (!DatoValido) {
      SpostaCursore(RigaPrecedente, ColonnaPrecedente);
      MSFlexGrid1->setFocus();
    } else {
      ColonnaPrecedente = c;
      RigaPrecedente = r;
      TestoCella = Testo(r, c);
    }
  }
  MostraAiutoColonna();
}

void base2_32::validazionedati() {
  DatoValido = true;
  const int c = ColonnaPrecedente, r = RigaPrecedente;
  const EsitoCella e = VerificaCella(c, Testo(r, c));
  if (e.valido) {
    if (e.testo != Testo(r, c)) ImpostaTesto(r, c, e.testo);
    Segna(r, c, QString());
    Occupato = false;
    return;
  }
  QString intestazione = MascheraCorrente.IntestazioniColonne[static_cast<std::size_t>(std::clamp(c, 0, 15))];
  plat::MsgBox(e.messaggio, plat::vbCritical + plat::vbOKOnly, intestazione);
  DatoValido = false;
  Occupato = false;
}

void base2_32::MSFlexGrid1_KeyDown(int tasto, Qt::KeyboardModifiers modificatori, bool* gestito) {
  UltimoTasto = tasto;
  if (tasto == Qt::Key_F2 && !(modificatori & Qt::ShiftModifier)) {
    MSFlexGrid1_DblClick();
    *gestito = true;
  } else if (tasto == Qt::Key_Insert && (modificatori & Qt::ShiftModifier)) {
    IncollaBlocco();
    *gestito = true;
  }
}

void base2_32::MSFlexGrid1_KeyPress(int k) {
  const int r = Row(), c = Col();
  if (r < 1 || c < 1) return;
  // The first character typed in a cell replaces its text, except a full stop, which goes on with it.
  if (PrimoTasto && k != 13 && k != 8 && k != 46 && k != 127 && k != 27 && k != 3 && k != 22)
    ImpostaTesto(r, c, QString());
  PrimoTasto = false;
  const int u = MascheraCorrente.UltimaColonna;
  switch (k) {
    case 13:
      if (c < u) {
        VaiACella(r, c + 1);
      } else if (r < NumeroRighe - 1) {
        VaiACella(r + 1, 1);
        const int primaVisibile = MSFlexGrid1->rowAt(0) + 1;
        if (Row() - primaVisibile >= kRigheVisibili)
          MSFlexGrid1->scrollTo(MSFlexGrid1->model()->index(primaVisibile, 0), QAbstractItemView::PositionAtTop);
      }
      return;
    case 27:
      ImpostaTesto(r, c, TestoCella);
      PrimoTasto = true;
      return;
    case 8:
    case 127: {
      const QString t = Testo(r, c);
      if (!t.isEmpty()) ImpostaTesto(r, c, t.left(t.size() - 1));
      return;
    }
    case 3: CopiaTabella(); return;
    case 22: IncollaBlocco(); return;
    default:
      if (k >= 32) ImpostaTesto(r, c, Testo(r, c) + QChar(k));
  }
}

int base2_32::UltimaRigaPiena(int daRiga) const {
  const int u = MascheraCorrente.UltimaColonna;
  for (int r = NumeroRighe - 1; r >= daRiga; --r)
    for (int c = 1; c <= u; ++c)
      if (!Vuota(Testo(r, c))) return r;
  return daRiga - 1;
}

void base2_32::CopiaTabella() {
  Clessidra(true);
  const int u = MascheraCorrente.UltimaColonna;
  const int m = UltimaRigaPiena();
  if (m > 0) {
    QString testo;
    for (int r = 1; r <= m; ++r)
      for (int c = 1; c <= u; ++c) testo += Testo(r, c) + (c < u ? QStringLiteral("\t") : QStringLiteral("\r\n"));
    QGuiApplication::clipboard()->setText(testo);
  }
  MSFlexGrid1->setFocus();
  Clessidra(false);
}

void base2_32::IncollaBlocco() {
  Occupato = true;
  const int c0 = Col(), r0 = Row();
  const int u = MascheraCorrente.UltimaColonna;
  // Lines end with CR LF or LF; a last line without its line end is a line too.
  QString testo = QGuiApplication::clipboard()->text();
  testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList righe = testo.split(QLatin1Char('\n'));
  if (!righe.isEmpty() && righe.last().isEmpty()) righe.removeLast();
  QString anteprima;
  // The cells of a line are shown two blanks apart: a message box would stretch tabs over several lines.
  for (int i = 0; i < righe.size() && i < 6; ++i)
    anteprima += QString(righe.at(i)).replace(QLatin1Char('\t'), QStringLiteral("  ")) + QStringLiteral("\r\n");
  // The preview ends at the sixth line end, and says so with "......".
  if (righe.size() > 6 || testo.count(QLatin1Char('\n')) >= 6) anteprima += QStringLiteral("......");
  const QString titolo = Titolo();
  std::vector<CellaRifiutata> rifiutate;
  if (plat::MsgBox(Traduci(QStringLiteral("Confermate l'inserimento dei seguenti dati")) + QStringLiteral("?\r\n") +
                       anteprima,
                   plat::vbQuestion + plat::vbYesNo, titolo) == plat::vbYes) {
    enum { Chiedi, Sovrascrivi, Mantieni } modo = Chiedi;
    int r = r0;
    for (qsizetype i = 0; i < righe.size() && modo != Mantieni; ++i) {
      QStringList celle = righe.at(i).split(QLatin1Char('\t'));
      int c = c0;
      for (const QString& cella : celle) {
        const QString x = plat::TrimBlanks(SenzaControllo(cella));
        if (modo == Chiedi && !Vuota(Testo(r, c))) {
          modo = plat::MsgBox(Traduci(QStringLiteral("Uno o più dati sono già presenti nella tabella. Volete sovrascriverli")) +
                                  QLatin1Char('?'),
                              plat::vbQuestion + plat::vbYesNo, titolo) == plat::vbYes
                     ? Sovrascrivi
                     : Mantieni;
        }
        if (modo == Mantieni) break;
        // Each cell is checked as it is written; a refused one keeps the text pasted, marked, so that the user
        // sees what came and corrects it. All of them are reported together below.
        const EsitoCella e = VerificaCella(c, x);
        ImpostaTesto(r, c, e.valido ? e.testo : x);
        Segna(r, c, e.valido ? QString() : e.messaggio);
        // The fields of a line beyond the last column all land in it: the last one written is what it holds.
        if (!rifiutate.empty() && rifiutate.back().riga == r && rifiutate.back().colonna == c) rifiutate.pop_back();
        if (!e.valido) rifiutate.push_back({r, c, x, e.messaggio});
        if (c < u) ++c;
      }
      if (modo == Mantieni) break;
      if (i + 1 < righe.size()) {  // the row limit matters only while a line is left
        if (r >= NumeroRighe - 1) {
          MessaggioLimiteRighe();
          break;
        }
        ++r;
      }
    }
  }
  if (!rifiutate.empty()) SegnalaCelleRifiutate(rifiutate);
  SpostaCursore(r0, c0);
  ColonnaPrecedente = c0;
  RigaPrecedente = r0;
  TestoCella = Testo(r0, c0);
  PrimoTasto = true;
  Occupato = false;
  MSFlexGrid1->setFocus();
}

bool base2_32::TornaACellaRifiutata() {
  const int u = MascheraCorrente.UltimaColonna;
  const int ultima = UltimaRigaPiena();
  for (int r = 1; r <= ultima; ++r)
    for (int c = 1; c <= u; ++c) {
      if (!Segnata(r, c)) continue;
      if (VerificaCella(c, Testo(r, c)).valido) {
        Segna(r, c, QString());
        continue;
      }
      // The cursor goes to the cell and the cell check says what is wrong with it.
      SpostaCursore(r, c);
      RigaPrecedente = r;
      ColonnaPrecedente = c;
      TestoCella = Testo(r, c);
      PrimoTasto = true;
      MostraAiutoColonna();
      validazionedati();
      MSFlexGrid1->setFocus();
      return true;
    }
  return false;
}

void base2_32::MessaggioLimiteRighe() {
  plat::MsgBox(Traduci(QStringLiteral("Non è possibile inserire un numero di righe superiore a")) + QLatin1Char(' ') +
                   QString::number(NumeroRighe - 1),
               plat::vbCritical + plat::vbOKOnly, Titolo());
}

void base2_32::SegnalaCelleRifiutate(const std::vector<CellaRifiutata>& rifiutate) {
  constexpr std::size_t kMostrate = 5;
  const StatoMaschera& m = MascheraCorrente;
  QString testo = Traduci(QStringLiteral("Celle incollate non accettate:")) + QLatin1Char(' ') +
                  QString::number(rifiutate.size());
  for (std::size_t i = 0; i < rifiutate.size() && i < kMostrate; ++i) {
    const CellaRifiutata& x = rifiutate[i];
    QString motivo = x.motivo;
    motivo.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    constexpr qsizetype kCaratteri = 20;  // of a long text, its beginning
    const QString incollato = x.testo.size() > kCaratteri ? x.testo.left(kCaratteri) + QStringLiteral("...") : x.testo;
    testo += QStringLiteral("\r\n") + Traduci(QStringLiteral("riga")) + QLatin1Char(' ') + QString::number(x.riga) +
             QStringLiteral(", ") + m.IntestazioniColonne[static_cast<std::size_t>(std::clamp(x.colonna, 0, 15))] +
             QStringLiteral(", \"") + incollato + QStringLiteral("\": ") + motivo;
  }
  if (rifiutate.size() > kMostrate) testo += QStringLiteral("\r\n......");
  testo += QStringLiteral("\r\n\r\n") +
           Traduci(QStringLiteral("Le celle non accettate sono segnate in rosso: correggetele prima di confermare."));
  plat::MsgBox(testo, plat::vbExclamation + plat::vbOKOnly, Titolo());
}

void base2_32::Segna(int riga, int colonna, const QString& motivo) {
  if (motivo.isEmpty() && !Segnata(riga, colonna)) return;
  if (!MSFlexGrid1->item(riga - 1, colonna)) ImpostaTesto(riga, colonna, QString());
  QTableWidgetItem* i = MSFlexGrid1->item(riga - 1, colonna);
  if (!i) return;
  i->setData(kRuoloSegno, motivo.isEmpty() ? QVariant() : QVariant(motivo));
  i->setData(Qt::BackgroundRole, motivo.isEmpty() ? QVariant() : QVariant(QColor(255, 176, 176)));
  i->setToolTip(motivo);
}

bool base2_32::Segnata(int riga, int colonna) const { return !Motivo(riga, colonna).isEmpty(); }

QString base2_32::Motivo(int riga, int colonna) const {
  const QTableWidgetItem* i = MSFlexGrid1->item(riga - 1, colonna);
  return i ? i->data(kRuoloSegno).toString() : QString();
}

void base2_32::CopiaCella(int daRiga, int aRiga, int colonna) {
  ImpostaTesto(aRiga, colonna, Testo(daRiga, colonna));
  Segna(aRiga, colonna, Motivo(daRiga, colonna));
}

void base2_32::SvuotaCella(int riga, int colonna) {
  ImpostaTesto(riga, colonna, QString());
  Segna(riga, colonna, QString());
}

void base2_32::ApriEditor() {
  const int r = Row(), c = Col();
  if (r < 1 || c < 1) return;
  rigaEditor_ = r;
  colonnaEditor_ = c;
  Text1->setGeometry(MSFlexGrid1->visualRect(MSFlexGrid1->model()->index(r - 1, c)));
  Text1->setText(Testo(r, c));
  Text1->show();
  Text1->setFocus();
}

void base2_32::ChiudiEditor(bool scrivi) {
  if (rigaEditor_ < 1) return;
  const int r = rigaEditor_, c = colonnaEditor_;
  rigaEditor_ = colonnaEditor_ = 0;  // first: hiding the editor takes its focus away again
  if (scrivi) ImpostaTesto(r, c, SenzaControllo(Text1->text()));
  Text1->clear();
  Text1->hide();
}

void base2_32::MSFlexGrid1_DblClick() { ApriEditor(); }

bool base2_32::eventFilter(QObject* oggetto, QEvent* evento) {
  if (oggetto == Text1) {
    if (evento->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(evento);
      const bool shift = k->modifiers() & Qt::ShiftModifier;
      if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !shift) {
        ChiudiEditor(true);
        MSFlexGrid1->setFocus();
        return true;
      }
      if (k->key() == Qt::Key_Escape && !shift) {
        ChiudiEditor(false);
        MSFlexGrid1->setFocus();
        return true;
      }
    } else if (evento->type() == QEvent::FocusOut) {
      // Leaving the editor in any way but Esc (a click on a button or another cell, Tab, another window) keeps
      // what was typed: the cell takes it, and the cell is checked as every cell is.
      ChiudiEditor(true);
    }
  } else if (oggetto == Label1 && evento->type() == QEvent::MouseButtonRelease) {
    Label1_Click();
    return true;
  } else if (oggetto == MSFlexGrid1 && evento->type() == QEvent::FocusOut) {
    if (!Text1->isVisible()) Label1->clear();
  }
  return plat::Form::eventFilter(oggetto, evento);
}

void base2_32::reject() {
  // Esc never closes the grid, wherever the focus is (a button, the help line): in the grid it puts back the cell
  // being edited, in the in-cell editor it leaves the editor. Only the cancel button and the window's close button
  // cancel the table.
}

void base2_32::Label1_Click() {
  plat::MsgBox(Label1->text(), plat::vbInformation + plat::vbOKOnly, windowTitle());
}

void base2_32::Command1_Click(int i) {
  StatoMaschera& m = MascheraCorrente;
  const int u = m.UltimaColonna;
  // The cell being edited counts as typed in; the current cell is checked before any button acts.
  ChiudiEditor(true);
  validazionedati();
  if (!DatoValido) {
    SpostaCursore(RigaPrecedente, ColonnaPrecedente);
    MSFlexGrid1->setFocus();
    return;
  }
  if (i == 0 && TornaACellaRifiutata()) return;
  m.AnnullaMaschera = static_cast<float>(i);
  const int r0 = Row(), c0 = Col();
  const double tipo = m.TipoMaschera;
  if (i == 0) {
    Clessidra(true);
    const int ultima = UltimaRigaPiena();
    // A row is incomplete when a cell is empty; in a kind-4 table only a row with data and only in the columns
    // that must not stay empty.
    bool incompleta = false;
    for (int r = 1; r <= ultima && !incompleta; ++r) {
      bool conDati = false;
      for (int c = 1; c <= u; ++c)
        if (!Vuota(Testo(r, c))) conDati = true;
      for (int c = 1; c <= u && !incompleta; ++c)
        if (Vuota(Testo(r, c)) && (tipo != 4 || (conDati && m.CampiObbligatori[static_cast<std::size_t>(c)])))
          incompleta = true;
    }
    if (incompleta) {
      Clessidra(false);
      if (plat::MsgBox(Traduci(QStringLiteral(
                           "Alcune righe di dati non sono state completate: volete controllare i dati inseriti")) +
                           QLatin1Char('?'),
                       plat::vbQuestion + plat::vbYesNo, Titolo()) == plat::vbYes) {
        SpostaCursore(r0, c0);
        MSFlexGrid1->setFocus();
        return;
      }
      Clessidra(true);
    }
    std::size_t k = 0;
    int conta = 0;
    for (int r = 1; r <= ultima; ++r) {
      QStringList celle;
      bool piena = false;
      for (int c = 1; c <= u; ++c) {
        // A code is stored as its list writes it, also in a cell the cursor never entered.
        const EsitoCella e = VerificaCella(c, Testo(r, c));
        celle << plat::TrimBlanks(e.valido ? e.testo : Testo(r, c));
        if (!celle.last().isEmpty()) piena = true;
      }
      if (!piena && !m.RigheVuoteMantenute) continue;
      ++conta;
      for (const QString& t : celle) m.ValoriTesto[++k] = t;
    }
    NumeroRigheDati = conta;
    m.ValoriTesto[0] = QString::number(conta);
    Clessidra(false);
    confermato_ = true;
    Unload();
    return;
  }
  if (i == 1) {
    Unload();
    return;
  }
  if ((i == 2 || i == 3) && (tipo == 2 || tipo == 4)) {
    Clessidra(true);
    Occupato = true;
    const int ultima = UltimaRigaPiena(r0);
    if (i == 2 && ultima < NumeroRighe - 1) {
      for (int r = ultima; r >= r0; --r)
        for (int c = 1; c <= u; ++c) CopiaCella(r, r + 1, c);
      for (int c = 1; c <= u; ++c) SvuotaCella(r0, c);
    } else if (i == 3 && ultima >= r0) {
      for (int r = r0 + 1; r <= ultima; ++r)
        for (int c = 1; c <= u; ++c) CopiaCella(r, r - 1, c);
      for (int c = 1; c <= u; ++c) SvuotaCella(ultima, c);
    }
    SpostaCursore(r0, c0);
    TestoCella = Testo(r0, c0);
    MSFlexGrid1->setFocus();
    Occupato = false;
    MostraAiutoColonna();
    Clessidra(false);
    // The last row holds data: no row is free to make room, and the user is told so.
    if (i == 2 && ultima >= NumeroRighe - 1) MessaggioLimiteRighe();
    return;
  }
  // Help: the table's help text, or its topic in the help file.
  const QString aiuto = m.AiutiCampi[static_cast<std::size_t>(std::clamp(u + 1, 0, 25))];
  if (Avvio.FileAiuto.isEmpty() || !plat::FileExists(Avvio.FileAiuto))
    plat::MsgBox(aiuto, plat::vbOKOnly, windowTitle());
  else
    MostraAiuto(ContestoAiuto(aiuto));
}

// ---------------------------------------------------------------------------------------------------------------

namespace {

QPointer<base2_32>& Griglia() {
  static QPointer<base2_32> g;
  return g;
}

base2_32* GrigliaMostrata(QString* errore) {
  base2_32* g = Griglia();
  if (!g || g->Unloaded() || !g->isVisible()) {
    *errore = QStringLiteral("no table grid is shown");
    return nullptr;
  }
  if (const QString perche = plat::Unreachable(g); !perche.isEmpty()) {
    *errore = perche;
    return nullptr;
  }
  return g;
}

void InviaTasto(QWidget* w, int tasto, Qt::KeyboardModifiers mod, const QString& testo = QString()) {
  QKeyEvent giu(QEvent::KeyPress, tasto, mod, testo);
  QCoreApplication::sendEvent(w, &giu);
  QKeyEvent su(QEvent::KeyRelease, tasto, mod, testo);
  QCoreApplication::sendEvent(w, &su);
}

}  // namespace

void RegistraGriglia() {
  RegistraFormMaschera(2, FormMaschera{[] {
                                         QPointer<base2_32> f = new base2_32();
                                         Griglia() = f;
                                         plat::ShowModal(f);
                                         if (f && f->Confermato()) MascheraCorrente.AnnullaMaschera = 0;
                                         if (f && !f->Unloaded()) f->Unload();
                                       },
                                       [] {
                                         if (base2_32* g = Griglia(); g && !g->Unloaded()) g->Unload();
                                       }});
  plat::RegisterScriptAction(QStringLiteral("cell"), [](const QStringList& a, QString* e) {
    base2_32* g = GrigliaMostrata(e);
    if (!g) return false;
    if (a.size() < 2) return *e = QStringLiteral("cell needs a row and a column"), false;
    g->VaiACella(a.at(0).toInt(), a.at(1).toInt());
    return true;
  });
  plat::RegisterScriptAction(QStringLiteral("type"), [](const QStringList& a, QString* e) {
    base2_32* g = GrigliaMostrata(e);
    if (!g) return false;
    const QString testo = a.join(QLatin1Char(' '));
    QWidget* destinazione = g->Text1->isVisible() ? static_cast<QWidget*>(g->Text1) : g->MSFlexGrid1;
    for (const QChar ch : testo) InviaTasto(destinazione, 0, Qt::NoModifier, QString(ch));
    return true;
  });
  plat::RegisterScriptAction(QStringLiteral("key"), [](const QStringList& a, QString* e) {
    base2_32* g = GrigliaMostrata(e);
    if (!g) return false;
    const QKeySequence s = QKeySequence::fromString(a.join(QLatin1Char(' ')));
    if (s.isEmpty()) return *e = QStringLiteral("unknown key"), false;
    const QKeyCombination k = s[0];
    QWidget* destinazione = g->Text1->isVisible() ? static_cast<QWidget*>(g->Text1) : g->MSFlexGrid1;
    InviaTasto(destinazione, k.key(), k.keyboardModifiers());
    return true;
  });
  plat::RegisterScriptAction(QStringLiteral("clipboard"), [](const QStringList& a, QString* e) {
    QByteArray dati;
    if (a.isEmpty() || !plat::ReadWholeFile(a.join(QLatin1Char(' ')), dati))
      return *e = QStringLiteral("cannot read the clipboard file"), false;
    QGuiApplication::clipboard()->setText(plat::DecodeAnsi(dati));
    return true;
  });
}
