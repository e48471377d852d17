#include "docexport/scritturadoc.h"

#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"

#include <QApplication>

ModuloScritturaDOC ScritturaDOC;

namespace {

void MostraProgresso(const QString& testo) {
  if (ScritturaDOC.Finestra) ScritturaDOC.Finestra->Mostra(testo);
}

void RipristinaPuntatore() {
  if (!ScritturaDOC.Clessidra) return;
  QApplication::restoreOverrideCursor();
  ScritturaDOC.Clessidra = false;
}

QString Cella(const GrigliaCelle& celle, int r, int c) {
  if (r < 0 || static_cast<std::size_t>(r) >= celle.size()) return {};
  const auto& riga = celle[static_cast<std::size_t>(r)];
  return c >= 0 && static_cast<std::size_t>(c) < riga.size() ? riga[static_cast<std::size_t>(c)] : QString();
}

}  // namespace

void AzzeraScritturaDOC() {
  if (ScritturaDOC.Finestra) delete ScritturaDOC.Finestra.data();
  RipristinaPuntatore();
  ScritturaDOC = ModuloScritturaDOC{};
}

void ImpostaFont(const QString& nome) { ScritturaDOC.NomeFont = nome; }
void ImpostaDimensioneFont(double dimensione) { ScritturaDOC.DimensioneFont = dimensione; }
void ImpostaCorsivo(bool corsivo) { ScritturaDOC.Corsivo = corsivo; }
void ImpostaCentratura(bool centrato) { ScritturaDOC.Centrato = centrato; }
void ImpostaAllineamentoSinistro(bool sinistra) { ScritturaDOC.AllineaSinistra = sinistra; }

bool LeggiNessunaFormattazione() {
  plat::SeqReader r;
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("editor.txt"));
  if (!r.Open(file)) {
    // A file that cannot be read is said, as for every configuration file, and counts as none.
    if (!r.Missing())
      plat::MsgBox(FileDanneggiato(file, r.FaultLine()), plat::vbOKOnly | plat::vbExclamation, QStringLiteral("ATTENZIONE!"));
    return true;
  }
  QString riga;
  if (!r.AtEnd()) r.ReadLine(riga);
  if (!r.AtEnd()) r.ReadLine(riga);
  QString voce;
  if (r.AtEnd() || !r.ReadItem(voce)) return true;
  voce = plat::TrimBlanks(voce).toUpper();
  if (voce.size() > 2 && voce.startsWith(QLatin1Char('#')) && voce.endsWith(QLatin1Char('#')))
    voce = voce.mid(1, voce.size() - 2);  // #TRUE# and #FALSE# as the sequential files write them
  if (voce == QLatin1String("TRUE")) return true;
  if (voce == QLatin1String("FALSE")) return false;
  bool numero = false;
  const double valore = voce.toDouble(&numero);
  return numero ? valore != 0 : true;
}

void ApriDocumentoDOC() {
  ScritturaDOC.NessunaFormattazione = LeggiNessunaFormattazione();

  if (!ScritturaDOC.Finestra) ScritturaDOC.Finestra = new progress();
  plat::ShowModeless(ScritturaDOC.Finestra);
  ScritturaDOC.Finestra->raise();
  ScritturaDOC.Finestra->activateWindow();
  ScritturaDOC.Finestra->repaint();

  if (!ScritturaDOC.Clessidra) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ScritturaDOC.Clessidra = true;
  }
  word::Document& documento = ScritturaDOC.Word.DocumentsAdd();
  ScritturaDOC.NumeroTabelle = 0;
  ScritturaDOC.Intervallo = documento.Range(0, 0);
}

void ScriviParagrafoDOC(const QString& testo) {
  word::Document* documento = ScritturaDOC.Word.ActiveDocument();
  if (!documento) return;
  word::Range& r = *(ScritturaDOC.Intervallo = documento->Content());
  r.Collapse(word::wdCollapseEnd);
  r.InsertAfter(testo);
  if (!ScritturaDOC.NessunaFormattazione) {
    r.Font().SetName(ScritturaDOC.NomeFont);
    r.Font().SetSize(ScritturaDOC.DimensioneFont);
    r.Font().SetItalic(ScritturaDOC.Corsivo);
  }
  r.ParagraphFormat().SetAlignment(ScritturaDOC.Centrato ? word::wdAlignParagraphCenter
                                                         : word::wdAlignParagraphLeft);
  r.InsertParagraphAfter();
  MostraProgresso(testo);
}

void ScriviTabellaDOC(const GrigliaCelle& celle, int righe, int colonne, int stile) {
  word::Document* documento = ScritturaDOC.Word.ActiveDocument();
  if (!documento || righe < 1 || colonne < 1) return;
  word::Range& r = *(ScritturaDOC.Intervallo = documento->Content());
  r.Collapse(word::wdCollapseEnd);
  std::optional<word::Table> tabella = documento->TablesAdd(r, righe, colonne);
  if (!tabella) return;
  ++ScritturaDOC.NumeroTabelle;

  tabella->AutoFormat(stile == 5 ? word::wdTableFormatGrid5 : word::wdTableFormatGrid1);
  tabella->SetBordersOutsideLineWidth(word::wdLineWidth150pt);
  if (std::optional<word::Table> ultima = documento->TablesItem(ScritturaDOC.NumeroTabelle))
    ultima->Range().ParagraphFormat().SetAlignment(ScritturaDOC.AllineaSinistra ? word::wdAlignParagraphLeft
                                                                                : word::wdAlignParagraphRight);
  if (!ScritturaDOC.NessunaFormattazione) {
    tabella->Range().Font().SetName(ScritturaDOC.NomeFont);
    tabella->Range().Font().SetSize(static_cast<float>(ScritturaDOC.DimensioneFont));
  }
  // Filled column by column, as the cells of a column follow one another.
  for (int c = 1; c <= colonne; ++c) {
    for (int rr = 1; rr <= righe; ++rr) {
      const QString testo = Cella(celle, rr, c);
      tabella->CellRange(rr, c).SetText(testo);
      MostraProgresso(testo);
    }
  }
  if (!ScritturaDOC.NessunaFormattazione) {
    if (stile == 1)
      for (int rr = 1; rr <= righe; ++rr) tabella->CellRange(rr, 1).Font().SetItalic(true);
    else if (stile == 5)
      for (int c = 1; c <= colonne; ++c) tabella->CellRange(1, c).Font().SetItalic(true);
  }
  if (ScritturaDOC.Centrato) tabella->SetRowsAlignment(word::wdAlignRowCenter);
  tabella->ColumnsAutoFit();
}

void SalvaDocumentoDOC(const QString& percorso) {
  if (ScritturaDOC.Finestra) ScritturaDOC.Finestra->Unload();
  ScritturaDOC.FileSalvato.clear();
  word::Document* documento = ScritturaDOC.Word.ActiveDocument();
  if (!documento) return;

  QString nome = percorso;
  if (plat::FileExists(nome)) {
    const auto risposta = plat::MsgBox(QStringLiteral("Volete sovrascrivere il file") + QLatin1Char('\r') + nome +
                                           QLatin1Char('?'),
                                       plat::vbYesNo | plat::vbExclamation, QStringLiteral("ATTENZIONE!"));
    if (risposta == plat::vbNo) {
      // A name with an extension of up to three letters loses it; the document is always a ".DOC".
      nome = plat::WithShortExtensionReplaced(
          plat::GetSaveFileName(QString(), plat::FolderPart(percorso), QStringLiteral("WinWord|*.doc"),
                                plat::FileNamePart(percorso)),
          QStringLiteral(".DOC"));
      if (nome.isEmpty()) {
        // No name chosen: nothing is saved.
        ScritturaDOC.Word.Close(documento);
        ScritturaDOC.Intervallo.reset();
        RipristinaPuntatore();
        return;
      }
    }
  }
  QString errore;
  if (documento->SaveAs(nome, &errore)) {
    ScritturaDOC.FileSalvato = plat::ResolveExisting(nome);
  } else {
    RipristinaPuntatore();
    plat::MsgBox(Traduci(QStringLiteral("Impossibile salvare il documento")) + QLatin1Char('\r') + nome,
                 plat::vbOKOnly | plat::vbCritical, QStringLiteral("ATTENZIONE!"));
  }
  ScritturaDOC.Word.Close(documento);
  ScritturaDOC.Intervallo.reset();
  RipristinaPuntatore();
}
