#include "common/data/scheda.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"

#include <algorithm>
#include <cmath>

ModuloScheda::ModuloScheda()
    : IntestazioneScheda(11), RigheScheda(kMassimoRigheScheda + 1, QString(kLunghezzaRecord, QLatin1Char(' '))) {}

QString RecordFisso(const QString& testo) {
  if (testo.size() >= kLunghezzaRecord) return testo.left(kLunghezzaRecord);
  return testo + QString(kLunghezzaRecord - testo.size(), QLatin1Char(' '));
}

QString CampoDelRecord(const QString& record, int campo) {
  if (campo < 1 || campo > kNumeroCampiRecord) return QString();
  return RecordFisso(record).mid(kInizioCampo[static_cast<std::size_t>(campo)] - 1,
                                 kLarghezzaCampo[static_cast<std::size_t>(campo)]);
}

std::optional<double> NumeroCampo(QStringView testo) {
  if (plat::TrimBlanks(testo).isEmpty()) return 0.0;
  double valore = 0;
  if (!dati::NumeroDaRiga(testo, valore)) return std::nullopt;
  return valore;
}

double ValoreCampo(const QString& record, int campo) { return NumeroCampo(CampoDelRecord(record, campo)).value_or(0); }

bool SoloSpazi(const QString& testo) {
  for (const QChar c : testo)
    if (c != QLatin1Char(' ')) return false;
  return true;
}

void AzzeraScheda(ModuloScheda& s) {
  s.IntestazioneScheda.assign(11, QString());
  s.RigheScheda.assign(kMassimoRigheScheda + 1, QString(kLunghezzaRecord, QLatin1Char(' ')));
  s.NumeroRigheScheda = 0;
}

namespace {
// A field or header text as the readers take a number: blank (0, whatever the range), or one number from
// `minimo` to `massimo`.
bool NumeroNeiLimiti(QStringView testo, double minimo, double massimo, double& valore) {
  const std::optional<double> v = NumeroCampo(testo);
  valore = v.value_or(0);
  return plat::TrimBlanks(testo).isEmpty() || (v && *v >= minimo && *v <= massimo);
}

// Walks the numbers of a sheet in the order of the file and hands each refused one to `rifiutato`, which returns
// false to stop. `stendimento` receives the measuring line.
template <typename F>
void PercorriNumeri(const ModuloScheda& s, const std::vector<int>& linee, StendimentoScheda& l, F rifiutato) {
  const auto intestazione = [&s](int k) {
    return k < static_cast<int>(s.IntestazioneScheda.size()) ? s.IntestazioneScheda[static_cast<std::size_t>(k)]
                                                               : QString();
  };
  const QString linea = intestazione(3);
  const qsizetype barra = linea.indexOf(QLatin1Char('/'));
  l.Presente = barra >= 0;
  double* valori[] = {nullptr, &l.Direzione, &l.Inclinazione, &l.Lunghezza};
  for (const LimitiTestata& v : kValoriStendimento) {
    QString testo;
    int riga = 5;
    if (v.valore == LunghezzaStendimento) testo = intestazione(5);
    else if (!l.Presente) continue;
    else {
      testo = v.valore == DirezioneStendimento ? linea.left(barra) : linea.mid(barra + 1);
      riga = 3;
    }
    if (!NumeroNeiLimiti(testo, v.minimo, v.massimo, *valori[v.valore]) && !rifiutato({riga, 0, v.valore, testo}))
      return;
  }
  double conteggio = 0;
  const QString righe = intestazione(10);
  if ((!dati::NumeroDaRiga(righe, conteggio) || conteggio < 0 || conteggio != std::floor(conteggio)) &&
      !rifiutato({10, 0, ConteggioRecord, righe}))
    return;
  for (int k = 1; k <= s.NumeroRigheScheda; ++k) {
    const QString& record = s.RigheScheda[static_cast<std::size_t>(k)];
    const int riga = static_cast<std::size_t>(k) < linee.size() ? linee[static_cast<std::size_t>(k)] : 0;
    for (const LimitiCampo& c : kCampiNumerici) {
      const QString testo = CampoDelRecord(record, c.campo);
      double valore = 0;
      if (!NumeroNeiLimiti(testo, c.minimo, c.massimo, valore) && !rifiutato({riga, k, c.campo, testo})) return;
    }
  }
}
}  // namespace

bool NumeriDelRecord(const QString& record) {
  for (const LimitiCampo& l : kCampiNumerici) {
    double valore = 0;
    if (!NumeroNeiLimiti(CampoDelRecord(record, l.campo), l.minimo, l.massimo, valore)) return false;
  }
  return true;
}

bool NumeriDellaScheda(const ModuloScheda& s, const std::vector<int>& linee, StendimentoScheda* stendimento,
                       int* riga) {
  StendimentoScheda l;
  int guasto = -1;
  PercorriNumeri(s, linee, l, [&guasto](const ValoreRifiutato& v) {
    guasto = v.riga;
    return false;
  });
  if (guasto >= 0) {
    if (riga) *riga = guasto;
    return false;
  }
  if (stendimento) *stendimento = l;
  return true;
}

std::vector<ValoreRifiutato> ValoriRifiutati(const ModuloScheda& s, const std::vector<int>& linee) {
  std::vector<ValoreRifiutato> rifiutati;
  StendimentoScheda l;
  PercorriNumeri(s, linee, l, [&rifiutati](const ValoreRifiutato& v) {
    rifiutati.push_back(v);
    return true;
  });
  return rifiutati;
}

EsitoScheda LeggiFileScheda(const QString& percorso, ModuloScheda& s, int massimo, std::vector<int>* linee,
                            int* riga) {
  AzzeraScheda(s);
  if (riga) *riga = 0;
  plat::SeqReader r;
  if (!r.Open(percorso)) {
    if (r.Fault() != plat::ReadFault::TooLarge && r.Fault() != plat::ReadFault::LineEnds)
      return EsitoScheda::Illeggibile;
    if (riga) *riga = r.FaultLine();
    return EsitoScheda::Incompleta;
  }
  std::vector<QString> intestazione(11);
  QString testo;
  for (int i = 1; i <= 10; ++i) {
    if (!r.ReadLine(testo)) return EsitoScheda::Incompleta;
    intestazione[static_cast<std::size_t>(i)] = testo;
  }
  std::vector<QString> righe(1);
  std::vector<int> numeri(1);
  for (int linea = r.LineNumber(); r.ReadLine(testo); linea = r.LineNumber()) {
    QString record = RecordFisso(testo);
    if (SoloSpazi(record)) continue;
    if (static_cast<int>(righe.size()) - 1 >= massimo) return EsitoScheda::TroppeRighe;
    righe.push_back(std::move(record));
    if (linee) numeri.push_back(linea);
  }
  const int k = static_cast<int>(righe.size()) - 1;
  righe.resize(std::max<std::size_t>(righe.size(), kMassimoRigheScheda + 1), QString(kLunghezzaRecord, QLatin1Char(' ')));
  s.IntestazioneScheda = std::move(intestazione);
  s.RigheScheda = std::move(righe);
  s.NumeroRigheScheda = k;
  if (linee) *linee = std::move(numeri);
  return EsitoScheda::Letta;
}

bool ScriviFileScheda(const QString& percorso, const ModuloScheda& s) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  // A line end inside a header line or a record would give the sheet a line more: it is written as a blank.
  auto riga = [](QString t) {
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
  };
  for (int i = 1; i <= 9; ++i)
    w.WriteLine(riga(static_cast<std::size_t>(i) < s.IntestazioneScheda.size()
                         ? s.IntestazioneScheda[static_cast<std::size_t>(i)]
                         : QString()));
  const int n = std::clamp(s.NumeroRigheScheda, 0, static_cast<int>(s.RigheScheda.size()) - 1);
  w.WriteNumber(n);
  int vuote = 0;
  for (int i = 1; i <= n; ++i) {
    const QString record = RecordFisso(riga(s.RigheScheda[static_cast<std::size_t>(i)]));
    if (SoloSpazi(record)) ++vuote;
    else w.WriteLine(record);
  }
  for (int i = 0; i < vuote; ++i) w.WriteLine(QString(kLunghezzaRecord, QLatin1Char(' ')));
  return w.Close();
}
