#include "main/reports/esportadoc.h"

#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"
#include "main/reports/visualizzatore.h"
#include "main/session/sessione.h"

#include <QFile>

void EsportaDocumentoDOC(const QString& percorso) {
  const QString documento = plat::ResolveExisting(percorso);
  if (documento.isEmpty() || !plat::FileExists(documento)) return;

  QByteArray uscita;
  QString errore;
  int codice = 0;
  if (!plat::RunChildAndWaitForOutput(QStringLiteral("wenlow.exe"), {documento}, uscita, &errore, &codice)) {
    Attenzione(QStringLiteral("Impossibile avviare il programma:"), QStringLiteral("wenlow"));
    return;
  }
  // Killed or crashed mid-run, wenlow may not have saved the document: the user is told, no viewer is started.
  if (codice == plat::kChildCrashed) {
    Attenzione(QStringLiteral("Il programma e' terminato in modo anomalo:"), QStringLiteral("wenlow"));
    return;
  }
  QStringList salvati;
  for (const QString& riga : QFile::decodeName(uscita).split(QLatin1Char('\n')))
    if (!plat::TrimBlanks(QString(riga).remove(QLatin1Char('\r'))).isEmpty()) salvati << QString(riga).remove(QLatin1Char('\r'));
  if (salvati.isEmpty()) return;
  // Whatever the letter case of its extension, the file is the one wenlow wrote.
  const QString file = plat::ResolveExisting(salvati.last());
  if (file.isEmpty() || !plat::FileExists(file)) return;
  QString motivo;
  if (!ApriConVisualizzatore(file, RigaEditor::Documento, &motivo)) {
    const QString testo = QStringLiteral(
        "Non è stato trovato nè un visualizzatore nè un editor di testi per il formato DOC. Il programma ha comunque creato il file:");
    plat::MsgBox(motivo + Traduci(testo) + QStringLiteral("\r") + DescrizioneFile(file),
                 plat::vbOKOnly | plat::vbInformation, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
  }
}
