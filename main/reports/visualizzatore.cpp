#include "main/reports/visualizzatore.h"

#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"
#include "main/session/sessione.h"

QString ProgrammaConfigurato(RigaEditor numero) {
  plat::SeqReader r;
  if (!ApriInLettura(r, plat::JoinPath(plat::ProgramFolder(), QStringLiteral("editor.cfg")))) return QString();
  QString riga;
  for (int k = 1; k <= static_cast<int>(numero); ++k)
    if (!r.ReadLine(riga)) return QString();
  return riga;
}

namespace {

// The executable of a program named in editor.cfg: a path as it stands (its letter case resolved as every file's),
// a bare name in the folders of PATH. "" when there is none.
QString ProgrammaTrovato(const QString& nome) {
  if (!nome.contains(QLatin1Char('/'))) return plat::FindOnPath(nome);
  const QString percorso = plat::ResolveExisting(nome);
  return plat::FileExists(percorso) ? percorso : QString();
}

}  // namespace

bool ApriConVisualizzatore(const QString& file, RigaEditor riga, QString* motivo) {
  motivo->clear();
  const QString configurato = ProgrammaConfigurato(riga);
  if (configurato.isEmpty()) {
    const QString apri = plat::FindOnPath(QStringLiteral("xdg-open"));
    return !apri.isEmpty() && plat::StartDetached(apri, {file});
  }
  const QString programma = ProgrammaTrovato(configurato);
  if (programma.isEmpty()) {
    *motivo = Traduci(QStringLiteral("Non è stato trovato il programma indicato in editor.cfg:")) +
              QStringLiteral("\r") + configurato + QStringLiteral("\r\r");
    return false;
  }
  if (plat::StartDetached(programma, {file})) return true;
  *motivo = Traduci(QStringLiteral("Impossibile avviare il programma:")) + QStringLiteral("\r") + programma +
            QStringLiteral("\r\r");
  return false;
}
