#include "main/session/scheda.h"

#include "common/platform/textio.h"
#include "main/session/sessione.h"

#include <algorithm>

ModuloScheda Scheda;

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

bool SoloSpazi(const QString& testo) {
  for (const QChar c : testo)
    if (c != QLatin1Char(' ')) return false;
  return true;
}

void AzzeraScheda() {
  for (int i = 1; i <= 9; ++i) Scheda.IntestazioneScheda[static_cast<std::size_t>(i)].clear();
  for (QString& r : Scheda.RigheScheda) r = QString(kLunghezzaRecord, QLatin1Char(' '));
  Scheda.NumeroRigheScheda = 0;
}

EsitoScheda LeggiScheda() {
  AzzeraScheda();
  plat::SeqReader r;
  if (!r.Open(Scheda.FileScheda)) return EsitoScheda::Illeggibile;
  std::vector<QString> intestazione(11);
  QString riga;
  for (int i = 1; i <= 10; ++i) {
    if (!r.ReadLine(riga)) return EsitoScheda::Incompleta;
    if (i <= 9) intestazione[static_cast<std::size_t>(i)] = riga;
  }
  int k = 0;
  while (r.ReadLine(riga)) {
    const QString record = RecordFisso(riga);
    if (SoloSpazi(record)) continue;
    if (k == kMassimoRigheScheda) {
      AzzeraScheda();
      return EsitoScheda::TroppeRighe;
    }
    Scheda.RigheScheda[static_cast<std::size_t>(++k)] = record;
  }
  Scheda.IntestazioneScheda = intestazione;
  Scheda.NumeroRigheScheda = k;
  return EsitoScheda::Letta;
}

void SegnalaEsitoScheda(EsitoScheda esito) {
  switch (esito) {
    case EsitoScheda::Letta: return;
    case EsitoScheda::Illeggibile:
      Attenzione(QStringLiteral("Il file seguente non puo' essere letto:"), Scheda.FileScheda);
      return;
    case EsitoScheda::Incompleta:
      Attenzione(QStringLiteral("Il file seguente e' incompleto o non valido:"), Scheda.FileScheda);
      return;
    case EsitoScheda::TroppeRighe:
      Attenzione(QStringLiteral("La scheda contiene piu' discontinuita' del massimo ammesso:"),
                 Scheda.FileScheda + QStringLiteral(" (") + QString::number(kMassimoRigheScheda) +
                     QStringLiteral(")"));
      return;
  }
}

bool SalvaScheda() {
  plat::SeqWriter w(Scheda.FileScheda);
  if (!w.IsOpen()) return false;
  for (int i = 1; i <= 9; ++i) w.WriteLine(Scheda.IntestazioneScheda[static_cast<std::size_t>(i)]);
  const int n = std::clamp(Scheda.NumeroRigheScheda, 0, kMassimoRigheScheda);
  w.WriteNumber(n);
  int vuote = 0;
  for (int i = 1; i <= n; ++i) {
    const QString record = RecordFisso(Scheda.RigheScheda[static_cast<std::size_t>(i)]);
    if (SoloSpazi(record)) ++vuote;
    else w.WriteLine(record);
  }
  for (int i = 0; i < vuote; ++i) w.WriteLine(QString(kLunghezzaRecord, QLatin1Char(' ')));
  return w.Close();
}
