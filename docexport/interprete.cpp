#include "docexport/interprete.h"

#include "common/platform/application.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"
#include "docexport/scritturadoc.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

ModuloWenlow Wenlow;

InterpreteDOC::InterpreteDOC() : InterpreteDocumento(LimitiDocumento::Wenlow(), RegoleModo{true, true}) {}

void InterpreteDOC::ApriDocumento(const ArgomentoReset& argomento) {
  Wenlow.DocumentoIniziato = true;
  ApriDocumentoDOC();
  ImpostaFont(argomento.font);
  ImpostaDimensioneFont(argomento.dimensione);
}

void InterpreteDOC::ScriviTesto(const QString& riga) { ScriviParagrafoDOC(riga); }

void InterpreteDOC::ScriviTabella(const TabellaDocumento& tabella) {
  int stile = 1;
  if (!tabella.lista) {
    // The alignment of the cells is the table end's; a list keeps the one of the last table end.
    ImpostaAllineamentoSinistro(tabella.fine == ParolaChiave::EndTableLeftAlign);
    stile = tabella.fine == ParolaChiave::EndTableNoItalic ? 0 : 5;
  }
  GrigliaCelle celle(tabella.celle.size() + 1);
  for (std::size_t r = 0; r < tabella.celle.size(); ++r) {
    celle[r + 1].reserve(static_cast<std::size_t>(tabella.colonne) + 1);
    celle[r + 1].emplace_back();
    for (const QString& c : tabella.celle[r]) celle[r + 1].push_back(c);
  }
  ScriviTabellaDOC(celle, static_cast<int>(tabella.celle.size()), tabella.colonne, stile);
}

void InterpreteDOC::Direttiva(const RigaDocumento& riga) {
  switch (riga.chiave) {
    case ParolaChiave::Font: ImpostaFont(NomeFont()); break;
    case ParolaChiave::FontSize: ImpostaDimensioneFont(DimensioneFont()); break;
    case ParolaChiave::FontItalic: ImpostaCorsivo(Corsivo()); break;
    case ParolaChiave::Left: ImpostaCentratura(false); break;
    case ParolaChiave::Center: ImpostaCentratura(true); break;
    default: break;  // "#RIGHT" leaves the text as the last "#LEFT" or "#CENTER" set it
  }
}

bool InterpreteDOC::ChiudiDocumento() {
  SalvaDocumentoDOC(NomeDocumentoDOC(Wenlow.PercorsoDocumento));
  if (!ScritturaDOC.FileSalvato.isEmpty()) {
    std::fprintf(stdout, "%s\n", QFile::encodeName(ScritturaDOC.FileSalvato).constData());
    std::fflush(stdout);
  }
  return true;  // a save that failed has been reported by the writer; no name chosen is no failure
}

void AzzeraWenlow() {
  Wenlow.PercorsoDocumento.clear();
  Wenlow.Interprete.reset();
  Wenlow.DocumentoIniziato = false;
  AzzeraScritturaDOC();
}

void InterpretaRigaDOC(QString& riga) {
  if (!Wenlow.Interprete) Wenlow.Interprete = std::make_unique<InterpreteDOC>();
  Wenlow.Interprete->Riga(riga);
}

QString NomeDocumentoDOC(const QString& percorsoDocumento) {
  return percorsoDocumento.left(std::max<qsizetype>(0, percorsoDocumento.size() - 3)) + QStringLiteral("DOC");
}

int Main(const QString& rigaComando) {
  Wenlow.PercorsoDocumento = plat::TrimBlanks(rigaComando);
  if (Wenlow.PercorsoDocumento.isEmpty()) return 0;
  plat::SeqReader documento;
  const auto guasto = [](int riga) {
    plat::MsgBox(FileDanneggiato(Wenlow.PercorsoDocumento, riga), plat::vbOKOnly | plat::vbCritical, QStringLiteral("ATTENZIONE!"));
    return 1;
  };
  if (!documento.Open(Wenlow.PercorsoDocumento)) {
    if (!documento.Missing()) return guasto(documento.FaultLine());
    plat::MsgBox(Traduci(QStringLiteral("Impossibile leggere il documento")) + QLatin1Char('\r') +
                     Wenlow.PercorsoDocumento,
                 plat::vbOKOnly | plat::vbCritical, QStringLiteral("ATTENZIONE!"));
    return 1;
  }
  QString riga;
  while (documento.ReadLine(riga)) InterpretaRigaDOC(riga);
  if (Wenlow.Interprete) Wenlow.Interprete->FineFile();
  // A report that begins no document (an empty file) would end with nothing written and nothing said.
  if (!Wenlow.DocumentoIniziato) return guasto(0);
  // The progress window, unloaded by the save, goes before the program ends.
  plat::DeleteClosedWindows();
  return 0;
}
