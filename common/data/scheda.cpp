#include "common/data/scheda.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"

#include <algorithm>

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

double ValoreCampo(const QString& record, int campo) { return plat::Val(CampoDelRecord(record, campo)); }

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

bool NumeriDelRecord(const QString& record) {
  for (int campo : {Dist, Imm, Inc}) {
    const QString testo = CampoDelRecord(record, campo);
    double valore = 0;
    if (!SoloSpazi(testo) && !dati::NumeroDaRiga(testo, valore)) return false;
  }
  return true;
}

bool LunghezzaStendimentoScheda(const QString& riga, double& lunghezza) {
  lunghezza = 0;
  if (SoloSpazi(riga)) return true;
  double valore = 0;
  if (!dati::NumeroDaRiga(riga, valore) || valore < 0) return false;
  lunghezza = valore;
  return true;
}

EsitoScheda LeggiFileScheda(const QString& percorso, ModuloScheda& s, int massimo, std::vector<int>* linee) {
  AzzeraScheda(s);
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoScheda::Illeggibile;
  std::vector<QString> intestazione(11);
  QString riga;
  for (int i = 1; i <= 10; ++i) {
    if (!r.ReadLine(riga)) return EsitoScheda::Incompleta;
    if (i <= 9) intestazione[static_cast<std::size_t>(i)] = riga;
  }
  std::vector<QString> righe(1);
  std::vector<int> numeri(1);
  for (int linea = r.LineNumber(); r.ReadLine(riga); linea = r.LineNumber()) {
    QString record = RecordFisso(riga);
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
