#include "common/markup/documento.h"

#include "common/platform/textio.h"

#include <algorithm>
#include <cmath>

namespace {

const QChar kSpazioUnificatore(0x00A0);  // no-break space: marks a text line that begins with "#"

ParolaChiave Chiave(const QString& parola) {
  static const struct {
    const char* testo;
    ParolaChiave chiave;
  } kParole[] = {
      {"#RESET", ParolaChiave::Reset},
      {"#TABSTYLE", ParolaChiave::TabStyle},
      {"#STARTTABLE", ParolaChiave::StartTable},
      {"#STARTLIST", ParolaChiave::StartList},
      {"#ENDTABLE", ParolaChiave::EndTable},
      {"#ENDTABLELEFTALIGN", ParolaChiave::EndTableLeftAlign},
      {"#ENDTABLENOITALIC", ParolaChiave::EndTableNoItalic},
      {"#ENDLIST", ParolaChiave::EndList},
      {"#FONT", ParolaChiave::Font},
      {"#FONTSIZE", ParolaChiave::FontSize},
      {"#FONTITALIC", ParolaChiave::FontItalic},
      {"#HEADER", ParolaChiave::Header},
      {"#FOOTER", ParolaChiave::Footer},
      {"#LEFT", ParolaChiave::Left},
      {"#CENTER", ParolaChiave::Center},
      {"#RIGHT", ParolaChiave::Right},
      {"#NEWPAGE", ParolaChiave::NewPage},
      {"#NEWPARAGRAPH", ParolaChiave::NewParagraph},
      {"#ENDDOCUMENT", ParolaChiave::EndDocument},
  };
  for (const auto& p : kParole)
    if (parola == QLatin1String(p.testo)) return p.chiave;
  return ParolaChiave::Commento;
}

// Whole points of a length in centimetres, as the integer part of cm x 72 / 2.54; lengths beyond the range of a
// whole number are held at its ends.
int Punti(double centimetri) {
  const double p = std::floor(centimetri * kPuntiPerCentimetro);
  if (!std::isfinite(p)) return 0;
  return static_cast<int>(std::clamp(p, -1e9, 1e9));
}

}  // namespace

RigaDocumento AnalizzaRigaDocumento(const QString& riga) {
  RigaDocumento r;
  if (!riga.startsWith(QLatin1Char('#'))) {
    r.chiave = ParolaChiave::Testo;
    r.argomento = riga;
    if (riga.size() > 1 && riga.at(0) == kSpazioUnificatore && riga.at(1) == QLatin1Char('#')) r.argomento.remove(0, 1);
    return r;
  }
  const qsizetype spazio = riga.indexOf(QLatin1Char(' '));
  if (spazio < 0) {
    r.parola = riga.toUpper();
  } else {
    r.parola = plat::TrimBlanks(riga.left(spazio)).toUpper();
    r.argomento = plat::TrimBlanks(riga.mid(spazio + 1));
  }
  r.chiave = Chiave(r.parola);
  return r;
}

QString EscapeTestoDocumento(const QString& testo) {
  const QString t = plat::TrimBlanks(testo);
  if (!t.startsWith(QLatin1Char('#'))) return testo;
  return kSpazioUnificatore + t;
}

double ValoreArgomento(const QString& argomento) {
  const double v = plat::Val(argomento);
  return std::isfinite(v) ? v : 0.0;
}

ArgomentoReset LeggiArgomentoReset(const QString& argomento) {
  ArgomentoReset a;
  QString resto = argomento + QString(11, QLatin1Char(','));
  auto campo = [&resto]() {
    const qsizetype virgola = resto.indexOf(QLatin1Char(','));
    const QString c = resto.left(virgola);
    resto = resto.mid(virgola + 1);
    return c;
  };
  for (int& m : a.margini) m = Punti(ValoreArgomento(campo()));
  const double dimensione = std::trunc(ValoreArgomento(campo()));
  a.dimensione = static_cast<int>(std::clamp(dimensione, -1e9, 1e9));
  a.font = campo();
  return a;
}

QString StileTabulazioneIniziale() { return QString(23, QLatin1Char('>')); }

QString LeggiStileTabulazione(const QString& argomento) {
  QString s = argomento;
  if (s.startsWith(QLatin1Char('=')) || s.startsWith(QLatin1Char('-'))) s.remove(0, 1);
  return plat::TrimBlanks(s) + StileTabulazioneIniziale();
}

bool ArgomentoCorsivo(const QString& argomento) {
  return plat::TrimBlanks(argomento).toUpper() == QLatin1String("TRUE");
}

int DecimaliCella(const QString& cella) {
  for (const QChar c : cella) {
    const char16_t u = c.unicode();
    if (!(u == u' ' || u == u'.' || (u >= u'0' && u <= u'9'))) return -2;
  }
  const qsizetype punto = cella.indexOf(QLatin1Char('.'));
  if (punto < 0 || plat::TrimBlanks(cella).endsWith(QLatin1Char('.'))) return -1;
  return static_cast<int>(cella.size() - (punto + 1));
}

QStringList CelleRiga(const QString& riga, int massimo) {
  QStringList celle;
  qsizetype inizio = 0;
  for (;;) {
    const qsizetype tab = riga.indexOf(QLatin1Char('\t'), inizio);
    if (tab < 0 || celle.size() + 1 >= massimo) {
      celle << riga.mid(inizio);
      break;
    }
    celle << riga.mid(inizio, tab - inizio);
    inizio = tab + 1;
  }
  return celle;
}

void AllineaDecimali(std::vector<QStringList>& griglia, int colonne) {
  const QString zeri(13, QLatin1Char('0'));
  for (int c = 0; c < colonne; ++c) {
    int massimo = -2;
    for (const QStringList& r : griglia)
      if (c < r.size()) massimo = std::max(massimo, DecimaliCella(r.at(c)));
    for (QStringList& r : griglia) {
      if (c >= r.size()) continue;
      QString& cella = r[c];
      const int d = DecimaliCella(cella);
      QString t = plat::TrimBlanks(cella);
      if (d != -2 && !t.isEmpty()) {
        if (d == -1) {
          // A whole number written with a point at its end (12.) loses that point before its decimals are added.
          if (t.endsWith(QLatin1Char('.'))) t.chop(1);
          t += QLatin1Char('.') + zeri;
        } else {
          t += zeri;
        }
        const qsizetype p = t.indexOf(QLatin1Char('.')) + 1;
        t = t.left(std::max<qsizetype>(0, p + massimo));
        if (t.startsWith(QLatin1Char('.'))) t.prepend(QLatin1Char('0'));
      }
      cella = plat::TrimBlanks(t);
    }
  }
}

// -------------------------------------------------------------------------------------------------------------

InterpreteDocumento::InterpreteDocumento(LimitiDocumento limiti, RegoleModo regole)
    : limiti_(limiti), regole_(regole), stile_(StileTabulazioneIniziale()) {
  limiti_.righeBuffer = std::max(limiti_.righeBuffer, 2);
  if (limiti_.righeGriglia > 0) limiti_.righeGriglia = std::max(limiti_.righeGriglia, 2);
}

InterpreteDocumento::~InterpreteDocumento() = default;

void InterpreteDocumento::Riga(QString& riga) {
  riga = plat::TrimBlanks(riga);
  if (!aperto_ && riga.left(6).toUpper() != QLatin1String("#RESET")) return;
  const RigaDocumento r = AnalizzaRigaDocumento(riga);
  if (!aperto_ && r.chiave != ParolaChiave::Reset) return;

  if (r.chiave == ParolaChiave::Testo) {
    if (modo_ == 0) ScriviTesto(r.argomento);
    else AggiungiRiga(r.argomento);
    return;
  }
  switch (r.chiave) {
    case ParolaChiave::Reset:
      aperto_ = true;
      modo_ = 0;
      allineamento_ = 0;
      stile_ = StileTabulazioneIniziale();
      reset_ = LeggiArgomentoReset(r.argomento);
      font_ = reset_.font;
      dimensione_ = reset_.dimensione;
      buffer_.clear();
      ApriDocumento(reset_);
      return;
    case ParolaChiave::StartTable:
    case ParolaChiave::StartList:
      modo_ = r.chiave == ParolaChiave::StartTable ? 2 : 3;
      buffer_.clear();
      testataTabella_.clear();
      parteEmessa_ = false;
      fine_ = modo_ == 2 ? ParolaChiave::EndTable : ParolaChiave::EndList;
      return;
    case ParolaChiave::EndTable:
    case ParolaChiave::EndTableLeftAlign:
    case ParolaChiave::EndTableNoItalic:
    case ParolaChiave::EndList:
      fine_ = r.chiave;  // the end decides how the rows are rendered
      EmettiParte();
      modo_ = 0;
      return;
    case ParolaChiave::EndDocument:
      Chiudi();
      return;
    case ParolaChiave::Font:
      font_ = r.argomento;
      modo_ = 0;
      break;
    case ParolaChiave::FontSize:
      dimensione_ = ValoreArgomento(r.argomento);
      modo_ = 0;
      break;
    case ParolaChiave::FontItalic:
      corsivo_ = ArgomentoCorsivo(r.argomento);
      if (regole_.fontItalicAzzeraModo) modo_ = 0;
      break;
    case ParolaChiave::Header:
      intestazione_ = r.argomento;
      modo_ = 0;
      break;
    case ParolaChiave::Footer:
      piePagina_ = r.argomento;
      modo_ = 0;
      break;
    case ParolaChiave::TabStyle:
      stile_ = LeggiStileTabulazione(r.argomento);
      if (regole_.tabStyleAzzeraModo) modo_ = 0;
      break;
    case ParolaChiave::Left:
      allineamento_ = 0;
      break;
    case ParolaChiave::Center:
      allineamento_ = 1;
      break;
    case ParolaChiave::Right:
      allineamento_ = 2;
      break;
    default:
      break;
  }
  Direttiva(r);
}

bool InterpreteDocumento::FineFile() {
  if (!aperto_) return true;
  if (modo_ != 0) {
    fine_ = modo_ == 2 ? ParolaChiave::EndTable : ParolaChiave::EndList;
    EmettiParte();
    modo_ = 0;
  }
  Chiudi();
  return chiusuraRiuscita_;
}

void InterpreteDocumento::Chiudi() {
  chiusuraRiuscita_ = ChiudiDocumento();
  aperto_ = false;
  buffer_.clear();
}

void InterpreteDocumento::AggiungiRiga(const QString& riga) {
  if (buffer_.isEmpty() && !parteEmessa_) testataTabella_ = riga;
  // Without a cell grid a full buffer is rendered now, and the table goes on in a new part under its head row. A
  // renderer that lays out cells keeps every row to the end, so that one layout serves them all.
  if (limiti_.righeGriglia == 0 && buffer_.size() >= limiti_.righeBuffer) {
    EmettiParte();
    if (modo_ == 2) buffer_ << testataTabella_;
  }
  buffer_ << riga;
}

void InterpreteDocumento::EmettiParte() {
  if (limiti_.righeGriglia > 0) {
    EmettiTabella();
    return;
  }
  TabellaDocumento t;
  t.fine = fine_;
  t.lista = fine_ == ParolaChiave::EndList;
  t.continuazione = parteEmessa_;
  t.testaRipetuta = parteEmessa_ && modo_ == 2;
  t.righe = buffer_;
  buffer_.clear();
  parteEmessa_ = true;
  ScriviTabella(t);
}

void InterpreteDocumento::EmettiTabella() {
  const QStringList righe = buffer_;
  buffer_.clear();
  // The whole table cut into cells and decimal-aligned at once: every part shows the same columns and decimals.
  auto tutte = std::make_shared<std::vector<QStringList>>();
  tutte->reserve(static_cast<std::size_t>(righe.size()));
  int colonne = 0;
  for (const QString& r : righe) {
    tutte->push_back(CelleRiga(r));
    colonne = std::max(colonne, static_cast<int>(tutte->back().size()));
  }
  // Every row gets as many cells as the widest row; the cells a row lacks are empty.
  for (QStringList& r : *tutte)
    while (r.size() < colonne) r << QString();
  AllineaDecimali(*tutte, colonne);

  // More rows than the cell grid holds: consecutive parts, every part of a table after the first under its head
  // row.
  const qsizetype limite = limiti_.righeGriglia;
  qsizetype i = 0;
  bool prima = true;
  while (prima || i < righe.size()) {
    TabellaDocumento t;
    t.fine = fine_;
    t.lista = fine_ == ParolaChiave::EndList;
    t.continuazione = !prima;
    t.colonne = colonne;
    t.tutte = tutte;
    t.testaRipetuta = !prima && modo_ == 2;
    if (t.testaRipetuta) {
      t.righe << righe.first();
      t.celle.push_back(tutte->front());
    }
    const qsizetype n = std::min(limite - t.righe.size(), righe.size() - i);
    t.righe += righe.mid(i, n);
    t.celle.insert(t.celle.end(), tutte->begin() + i, tutte->begin() + i + n);
    i += n;
    prima = false;
    ScriviTabella(t);
  }
  parteEmessa_ = true;
}
