#include "common/data/scheda.h"

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

EsitoScheda LeggiFileScheda(const QString& percorso, ModuloScheda& s, int massimo) {
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
  while (r.ReadLine(riga)) {
    QString record = RecordFisso(riga);
    if (SoloSpazi(record)) continue;
    if (static_cast<int>(righe.size()) - 1 >= massimo) return EsitoScheda::TroppeRighe;
    righe.push_back(std::move(record));
  }
  const int k = static_cast<int>(righe.size()) - 1;
  righe.resize(std::max<std::size_t>(righe.size(), kMassimoRigheScheda + 1), QString(kLunghezzaRecord, QLatin1Char(' ')));
  s.IntestazioneScheda = std::move(intestazione);
  s.RigheScheda = std::move(righe);
  s.NumeroRigheScheda = k;
  return EsitoScheda::Letta;
}

bool ScriviFileScheda(const QString& percorso, const ModuloScheda& s) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int i = 1; i <= 9; ++i)
    w.WriteLine(static_cast<std::size_t>(i) < s.IntestazioneScheda.size() ? s.IntestazioneScheda[static_cast<std::size_t>(i)]
                                                                            : QString());
  const int n = std::clamp(s.NumeroRigheScheda, 0, static_cast<int>(s.RigheScheda.size()) - 1);
  w.WriteNumber(n);
  int vuote = 0;
  for (int i = 1; i <= n; ++i) {
    const QString record = RecordFisso(s.RigheScheda[static_cast<std::size_t>(i)]);
    if (SoloSpazi(record)) ++vuote;
    else w.WriteLine(record);
  }
  for (int i = 0; i < vuote; ++i) w.WriteLine(QString(kLunghezzaRecord, QLatin1Char(' ')));
  return w.Close();
}
