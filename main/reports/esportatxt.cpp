#include "main/reports/esportatxt.h"

#include "common/markup/documento.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"
#include "main/reports/visualizzatore.h"
#include "main/session/sessione.h"

#include <memory>

ModuloEsportaTXT EsportaTXT;

namespace {

class RendererTXT : public InterpreteDocumento {
 public:
  // Rows are written as they stand: no cells are laid out; "#TABSTYLE" and "#FONTITALIC" leave a table collecting.
  RendererTXT() : InterpreteDocumento(LimitiDocumento::SenzaGriglia(), RegoleModo{false, false}) {}
  int fileScritti = 0;  // text files finished and written
  int fileFalliti = 0;  // text files that could not be written

 protected:
  void ApriDocumento(const ArgomentoReset&) override {
    file_ = EsportaTXT.NomeFileTXT;
    dati_.clear();
    righeTesto_ = 0;
  }
  void ScriviTesto(const QString& riga) override {
    if (righeTesto_ == 0) Scrivi(Intestazione());
    ++righeTesto_;
    Scrivi(riga);
  }
  void ScriviTabella(const TabellaDocumento& t) override {
    for (const QString& r : t.righe) Scrivi(r);
  }
  bool ChiudiDocumento() override {
    Scrivi(PiePagina());
    // The text file is written in the system's code page, UTF-8, so that degrees and powers read right.
    const bool ok = plat::WriteWholeFile(file_, dati_);
    dati_.clear();
    ++(ok ? fileScritti : fileFalliti);
    return ok;
  }

 private:
  void Scrivi(const QString& riga) {
    dati_ += riga.toUtf8();
    dati_ += "\r\n";
  }
  QString file_;
  QByteArray dati_;
  int righeTesto_ = 0;
};

std::unique_ptr<RendererTXT>& Renderer() {
  static std::unique_ptr<RendererTXT> r = std::make_unique<RendererTXT>();
  return r;
}

}  // namespace

void ScriviRigaTXT(QString& riga) { Renderer()->Riga(riga); }

bool FineDocumentoTXT() { return Renderer()->FineFile(); }

void AzzeraEsportaTXT() {
  EsportaTXT = ModuloEsportaTXT();
  Renderer() = std::make_unique<RendererTXT>();
}

void EsportaDocumentoTXT(const QString& percorso) {
  plat::SeqReader r;
  if (!ApriInLettura(r, percorso)) return;
  const QString proposto = percorso.left(percorso.size() - 3) + QStringLiteral("txt");
  EsportaTXT.NomeFileTXT = proposto;
  if (plat::FileExists(EsportaTXT.NomeFileTXT)) {
    const auto risposta =
        plat::MsgBox(Traduci(QStringLiteral("Volete sovrascrivere il file")) + QStringLiteral("\r") +
                         EsportaTXT.NomeFileTXT + QStringLiteral("?"),
                     plat::vbYesNo | plat::vbExclamation, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
    if (risposta != plat::vbYes) {
      // A short extension (a point among the last four characters of the name) is replaced by ".txt".
      const QString nome = plat::WithShortExtensionReplaced(
          plat::GetOpenOrNewFileName(QString(), plat::FolderPart(proposto), QStringLiteral("NotePad|*.txt"),
                                     plat::FileNamePart(proposto)),
          QStringLiteral(".txt"));
      if (nome.isEmpty()) {
        EsportaTXT.NomeFileTXT = proposto;
        return;
      }
      EsportaTXT.NomeFileTXT = nome;
    }
  }
  RendererTXT& renderer = *Renderer();
  const int scritti = renderer.fileScritti, falliti = renderer.fileFalliti;
  QString riga;
  while (r.ReadLine(riga)) ScriviRigaTXT(riga);
  FineDocumentoTXT();
  if (renderer.fileFalliti != falliti) {
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(EsportaTXT.NomeFileTXT));
    return;
  }
  if (renderer.fileScritti == scritti) return;  // the document opened no output
  QString motivo;
  if (!ApriConVisualizzatore(plat::ResolveExisting(EsportaTXT.NomeFileTXT), RigaEditor::Testo, &motivo)) {
    const QString testo = QStringLiteral(
        "Non è stato trovato un editor di testi per il formato TXT. Il programma ha comunque creato il file:");
    plat::MsgBox(motivo + Traduci(testo) + QStringLiteral("\r") + DescrizioneFile(EsportaTXT.NomeFileTXT),
                 plat::vbOKOnly | plat::vbInformation, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
  }
}
