#include "main/reports/visualizzatore.h"

#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "main/session/sessione.h"

namespace {

// The program named on line `numero` of editor.cfg, "" when the file or the line is missing. Lines are taken whole.
// A file that cannot be read (no file at the name, one larger than any, one with a CR that ends no line) is said,
// and counts as none.
QString ProgrammaConfigurato(int numero) {
  plat::SeqReader r;
  if (!ApriInLettura(r, plat::JoinPath(plat::ProgramFolder(), QStringLiteral("editor.cfg")))) return QString();
  QString riga;
  for (int k = 1; k <= numero; ++k)
    if (!r.ReadLine(riga)) return QString();
  return riga;
}

}  // namespace

bool ApriConVisualizzatore(const QString& file, RigaEditor riga) {
  const QString configurato = ProgrammaConfigurato(static_cast<int>(riga));
  if (!configurato.isEmpty() && plat::FileExists(configurato) &&
      plat::StartDetached(plat::ResolveExisting(configurato), {file}))
    return true;
  const QString apri = plat::FindOnPath(QStringLiteral("xdg-open"));
  return !apri.isEmpty() && plat::StartDetached(apri, {file});
}
