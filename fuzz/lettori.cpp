// libFuzzer targets of the suite's file readers: each target writes the fuzzer's bytes to a file and reads it with
// the reader the programs use. FRATTIX_FUZZ_LETTORE (set by fuzz/CMakeLists.txt) names the reader of the target.
#include "cluster/aggregazione.h"
#include "cluster/permeabilita.h"
#include "cluster/stereogramma.h"
#include "common/data/configurazione.h"
#include "common/data/elencoschede.h"
#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/passaggio.h"
#include "common/data/penne.h"
#include "common/data/risultato.h"
#include "common/data/scheda.h"
#include "common/data/selezione.h"
#include "common/data/tabelle.h"
#include "common/data/titoli.h"
#include "common/markup/documento.h"
#include "common/platform/files.h"
#include "common/platform/help.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/plot/dxf.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "eigen/scambio.h"
#include "docexport/scritturadoc.h"
#include "main/dialogs/definizioni.h"
#include "main/reports/confstampa.h"
#include "main/reports/visualizzatore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Kept for the whole run and never destroyed: libFuzzer ends the process with exit(), after which Qt's own
// statics may already be gone.
QCoreApplication* applicazione = nullptr;
QTemporaryDir* cartella = nullptr;
QString percorso;

enum Lettore {
  Testo = 1, Configurazione, Scheda, Selezione, Elenco, Fronte, Famiglie, Risultato, Opzioni, Passaggio, Titoli,
  Penne, Testi, Aiuto, Documento, Definizioni, StileDxf, Autovalori, Stampa, Sovrapposizione, Cunei, Ingresso,
  Lingua, Partizioni, EditorCfg, EditorTxt, Blocco, Path, TabellaFamiglie, TabellaConducibilita, TabellaCunei
};

// The partition file read by its target: the clusters of level 3 of at most 12 points.
constexpr int kLivelloPartizione = 3;
constexpr int kPoliPartizione = 12;

// True when the bytes hold a CR that is not followed by its LF (a Ctrl-Z that is the last byte set aside): a file
// that no reader may take, since it cannot be split into its lines.
bool CRSolo(QByteArray dati) {
  if (dati.endsWith('\x1A')) dati.chop(1);
  for (qsizetype i = dati.indexOf('\r'); i >= 0; i = dati.indexOf('\r', i + 1))
    if (i + 1 >= dati.size() || dati.at(i + 1) != '\n') return true;
  return false;
}

// A reader took the file: it may not be one that cannot be split into its lines.
void Preso(const QByteArray& dati) {
  if (CRSolo(dati)) __builtin_trap();
}

void Leggi(const QByteArray& dati) {
  switch (FRATTIX_FUZZ_LETTORE) {
    case Testo: {
      // Every kind of reading on the same bytes: items, numbers, number lines and lines.
      for (int modo = 0; modo < 4; ++modo) {
        plat::SeqReader r;
        r.OpenBytes(dati);
        QString s;
        double v = 0;
        bool ok = false;
        for (int k = 0; !r.AtEnd() && k < 100000; ++k) {
          const int scelta = modo < 3 ? modo : k % 3;
          if (scelta == 0) r.ReadItem(s);
          else if (scelta == 1) r.ReadNumber(v, &ok);
          else if (scelta == 2) r.ReadNumberLine(v, &ok);
          if (ok && !std::isfinite(v)) __builtin_trap();
        }
        r.ReadLine(s);
      }
      plat::Val(plat::DecodeAnsi(dati));
      // The same bytes as a file: opened exactly when they can be split into their lines, and the line of a CR
      // that ends none is the line it stands in.
      plat::SeqReader f;
      const bool aperto = f.Open(percorso);
      if (aperto == CRSolo(dati)) __builtin_trap();
      if (!aperto && (f.Fault() != plat::ReadFault::LineEnds || f.FaultLine() < 1 ||
                      f.FaultLine() > dati.count('\n') + 1))
        __builtin_trap();
      return;
    }
    case Configurazione: {
      ModuloConfigurazione c;
      QString e;
      if (LeggiFileConfigurazione(percorso, 1, c, &e)) Preso(dati);
      return;
    }
    case Scheda: {
      ModuloScheda s;
      std::vector<int> linee;
      if (LeggiFileScheda(percorso, s, kMassimoRigheScheda, &linee) != EsitoScheda::Letta) return;
      Preso(dati);
      StendimentoScheda l;
      int riga = 0;
      if (!NumeriDellaScheda(s, linee, &l, &riga)) {
        // The line told is a header line with a number or a record's, the first of those the sheet's editor names.
        if (riga != 3 && riga != 5 && riga != 10 && riga < 11) __builtin_trap();
        const std::vector<ValoreRifiutato> rifiutati = ValoriRifiutati(s, linee);
        if (rifiutati.empty() || rifiutati.front().riga != riga) __builtin_trap();
        return;
      }
      if (!(l.Direzione >= 0 && l.Direzione <= 360 && l.Inclinazione >= -90 && l.Inclinazione <= 90 &&
            l.Lunghezza >= 0 && l.Lunghezza <= 10000))
        __builtin_trap();
      // Every number the check passed, read again apart from the readers (from_chars), is the value its users
      // take: a blank text is 0, any other is a number as the forms write it, whole.
      const auto stesso = [](const QString& testo, double usato) {
        const QByteArray t = plat::TrimBlanks(testo).toLatin1();
        if (t.isEmpty()) return usato == 0;
        for (const char c : t)
          if (!std::strchr("+-.0123456789eE", c)) return false;
        const char* inizio = t.constData();
        const char* fine = inizio + t.size();
        if (*inizio == '+' && inizio + 1 < fine && inizio[1] != '-') ++inizio;
        double letto = 0;
        const auto r = std::from_chars(inizio, fine, letto);
        return r.ec == std::errc() && r.ptr == fine && letto == usato;
      };
      const QString linea3 = s.IntestazioneScheda[3];
      const qsizetype barra = linea3.indexOf(QLatin1Char('/'));
      if ((barra >= 0 && (!stesso(linea3.left(barra), l.Direzione) || !stesso(linea3.mid(barra + 1), l.Inclinazione))) ||
          !stesso(s.IntestazioneScheda[5], l.Lunghezza))
        __builtin_trap();
      // Every numeric field of every record: the value every user takes (ValoreCampo) is the one checked, within
      // the range of its column (blank: 0).
      for (int k = 1; k <= s.NumeroRigheScheda; ++k)
        for (const LimitiCampo& c : kCampiNumerici) {
          const QString& record = s.RigheScheda[static_cast<std::size_t>(k)];
          const double v = ValoreCampo(record, c.campo);
          const bool vuoto = plat::TrimBlanks(CampoDelRecord(record, c.campo)).isEmpty();
          if (!stesso(CampoDelRecord(record, c.campo), v) || (!vuoto && !(v >= c.minimo && v <= c.massimo)))
            __builtin_trap();
        }
      if (!ValoriRifiutati(s, linee).empty()) __builtin_trap();
      return;
    }
    case Selezione: {
      ModuloConfigurazione c;
      ModuloSelezione s;
      QString e;
      if (LeggiFileSelezione(percorso, c, s, &e) == EsitoSelezione::Letta) Preso(dati);
      return;
    }
    case Elenco: {
      QStringList n;
      QString e;
      if (LeggiElencoSchede(percorso, n, 500, &e) == EsitoElenco::Letto) Preso(dati);
      return;
    }
    case Fronte: {
      ValoriFronte v{};
      int riga = 0;
      if (LeggiFileFronte(percorso, v, &riga) == EsitoFronte::Letto) {
        Preso(dati);
        for (int k = 1; k <= kValoriFronte; ++k)
          if (!ValoreFronteAmmesso(k, v[static_cast<std::size_t>(k)])) __builtin_trap();
      }
      return;
    }
    case Famiglie: {
      ParametriFamiglie p = ParametriPredefiniti(20, 30, 0);
      int riga = 0;
      if (LeggiFileParametriFamiglie(percorso, p, &riga) == EsitoParametri::Letti) Preso(dati);
      return;
    }
    case Risultato: {
      RisultatoCluster r;
      int riga = 0;
      const EsitoRisultato esito = LeggiFileRisultato(percorso, r, 2000, 300, &riga);
      // A result of at least one point, whose clusters lie among them.
      if (esito == EsitoRisultato::Letto && (r.NumeroPoli < 1 || r.NumeroCluster < 1 || r.NumeroCluster > r.NumeroPoli))
        __builtin_trap();
      if (esito == EsitoRisultato::Letto) Preso(dati);
      if (esito == EsitoRisultato::NonValido && riga < 1) __builtin_trap();
      return;
    }
    case Opzioni: {
      OpzioniGrafiche o;
      if (LeggiFileOpzioniGrafiche(percorso, o) == EsitoOpzioni::Letto) Preso(dati);
      return;
    }
    case Passaggio: {
      FilePassaggioDati d;
      int riga = 0;
      if (LeggiFilePassaggio(percorso, d, 500, &riga) == EsitoPassaggio::Letto) {
        Preso(dati);
        if (d.Modo != ModoCluster && d.Modo != ModoStabilita && d.Modo != ModoGrafico) __builtin_trap();
      }
      return;
    }
    case Titoli: {
      TitoliSessione t;
      int riga = 0;
      if (LeggiFileTitoli(percorso, t, &riga) >= 0) Preso(dati);
      else if (riga < 1) __builtin_trap();  // a file stands there: only its line ends can refuse it
      if (LeggiTitoliAnalisi(percorso, t) == CRSolo(dati)) __builtin_trap();
      return;
    }
    case Penne: {
      TabellaPenne t;
      int riga = 0;
      const EsitoPenne esito = LeggiFileTabellaPenne(percorso, t, &riga);
      if (esito == EsitoPenne::NonValida && riga < 1) __builtin_trap();
      if (esito != EsitoPenne::Letta) return;
      Preso(dati);
      // Every element drawn in one of the 15 colours or not at all, every colour a value of the palette, every
      // font one item: what the pen editor writes.
      for (int e = 1; e <= kElementiPenne; ++e) {
        const double n = t.ColoriElementi[static_cast<std::size_t>(e)];
        if (!(n >= 0 && n <= kColoriPenne && n == std::floor(n))) __builtin_trap();
        if (t.CaratteriElementi[static_cast<std::size_t>(e)].contains(QLatin1Char(','))) __builtin_trap();
      }
      for (int c = 1; c <= kColoriPenne; ++c) {
        const double v = t.ValoriColori[static_cast<std::size_t>(c)];
        if (!(v >= 0 && v <= 0xFFFFFF && v == std::floor(v))) __builtin_trap();
      }
      if (!std::isfinite(t.MargineSinistro) || !std::isfinite(t.MargineSuperiore)) __builtin_trap();
      return;
    }
    case Testi: {
      QString e;
      AzzeraTesti(2000);
      if (CaricaTesti(percorso, &e)) Preso(dati);
      OrdinaTesti();
      return;
    }
    case Aiuto: {
      QList<plat::HelpTopic> argomenti;
      QString e;
      if (plat::ReadHelpFile(percorso, argomenti, &e)) Preso(dati);
      return;
    }
    case Documento: {
      plat::SeqReader r;
      r.OpenBytes(dati);
      QString riga;
      while (r.ReadLine(riga)) {
        const RigaDocumento d = AnalizzaRigaDocumento(plat::TrimBlanks(riga));
        LeggiArgomentoReset(d.argomento);
        LeggiStileTabulazione(d.argomento);
      }
      return;
    }
    case Definizioni: {
      // A damaged definition is told in a message: the script answers it.
      plat::ResetInteraction();
      if (LeggiDefinizioniMaschere(1, {QString(), percorso}) == 1) Preso(dati);
      // Read for the slope form, it is read only with the form's counts.
      plat::ResetInteraction();
      const FormaDefinizione forma{1, 0, 19, 3};
      if (LeggiDefinizioniMaschere(1, {QString(), percorso}, {FormaDefinizione(), forma}) == 1) {
        const ModuloDefinizioni& d = DefinizioniMaschere;
        if (d.TipoDefinizione[1] != forma.tipo ||
            d.InizioCampiDefinizione[2] - d.InizioCampiDefinizione[1] != forma.campi ||
            d.InizioSceltaDefinizione[2] - d.InizioSceltaDefinizione[1] != forma.scelte ||
            d.InizioSecondoElencoDefinizione[2] - d.InizioSecondoElencoDefinizione[1] != forma.bottoni)
          __builtin_trap();
      }
      return;
    }
    case StileDxf: {
      // A damaged file is told in a message: the script answers it. No control character is ever taken.
      plat::ResetInteraction();
      const QString stile = LeggiStileDxf();
      if (stile.isEmpty()) __builtin_trap();
      for (const QChar c : stile)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) __builtin_trap();
      return;
    }
    case Sovrapposizione:
      // A first line that is not a number is told in a message: the script answers it.
      plat::ResetInteraction();
      if (!std::isfinite(LeggiSovrapposizione())) __builtin_trap();
      return;
    case Autovalori: {
      // The answer for a tensor whose largest value is a double one: any two directions at right angles in the plane
      // of (1, 1, 0) and (0, 0, 1) are a solution (the seed holds one).
      const MatriceScambio tensore{{{2, 1, 0}, {1, 2, 0}, {0, 0, 3}}};
      std::array<double, 4> valori{};
      std::array<std::array<double, 4>, 4> direzioni{};
      int riga = -1;
      if (!LeggiUscitaAutovalori(percorso, tensore, valori, direzioni, &riga)) {
        if (riga < 0 || (CRSolo(dati) && riga < 1)) __builtin_trap();
        return;
      }
      Preso(dati);
      // Finite values, each T v = lambda v; unit directions at right angles.
      for (int i = 1; i <= 3; ++i) {
        if (!std::isfinite(valori[i])) __builtin_trap();
        const auto& d = direzioni[i];
        if (!(std::fabs(std::sqrt(d[1] * d[1] + d[2] * d[2] + d[3] * d[3]) - 1) <= 1e-6)) __builtin_trap();
        for (int a = 0; a < 3; ++a) {
          double tv = 0;
          for (int b = 0; b < 3; ++b) tv += tensore[a][b] * d[b + 1];
          if (!(std::fabs(tv - valori[i] * d[a + 1]) <= 1e-5)) __builtin_trap();
        }
        for (int k = 1; k < i; ++k)
          if (!(std::fabs(d[1] * direzioni[k][1] + d[2] * direzioni[k][2] + d[3] * direzioni[k][3]) <= 1e-5))
            __builtin_trap();
      }
      return;
    }
    case Stampa: {
      ImpostazioniFileStampa impostazioni;
      int riga = 0;
      const EsitoFileStampa esito = LeggiFileStampa(percorso, impostazioni, &riga);
      if (esito == EsitoFileStampa::NonValido && riga < 1) __builtin_trap();
      if (esito == EsitoFileStampa::Letto) Preso(dati);
      return;
    }
    case Cunei: {
      // The wedge table of the session "prova.ses", found in the current folder: the folder of the file for the
      // reading only (libFuzzer's own paths may be relative to the folder it was started in).
      std::vector<TracciaCuneo> cunei;
      QString file;
      int riga = 0;
      const QString prima = QDir::currentPath();
      QDir::setCurrent(cartella->path());
      const bool letti = LeggiCunei(QStringLiteral("prova.ses"), cunei, &file, &riga);
      QDir::setCurrent(prima);
      if (!letti) {
        // Damage is told with its line (the heading's, 1, for an empty table or one without its heading).
        if (riga < 1 || !cunei.empty()) __builtin_trap();
        return;
      }
      Preso(dati);
      for (const TracciaCuneo& c : cunei)
        if (!(c.Immersione1 >= 0 && c.Immersione1 <= 360 && c.Inclinazione2 >= 0 && c.Inclinazione2 <= 90 &&
              c.FattoreSicurezza >= 0))
          __builtin_trap();
      return;
    }
    case Ingresso: {
      // eigen.inp as EIGEN reads it. What it takes is a symmetric matrix of finite numbers, and what TALVOR writes
      // of a symmetric matrix it takes again, as the same matrix once rounded to the digits of the exchange.
      MatriceScambio tensore{};
      int riga = -1;
      if (!LeggiIngressoAutovalori(percorso, tensore, nullptr, &riga)) {
        if (riga < 0 || (CRSolo(dati) && riga < 1)) __builtin_trap();
        return;
      }
      Preso(dati);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < i; ++j) tensore[i][j] = tensore[j][i];
      MatriceScambio letti[2]{};
      MatriceScambio scritto = tensore;
      for (MatriceScambio& letto : letti) {
        plat::SeqReader r;
        r.OpenBytes(plat::EncodeAnsi(TestoIngressoAutovalori(scritto)));
        if (!LeggiIngressoAutovalori(r, letto)) __builtin_trap();
        scritto = letto;
      }
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
          if (!std::isfinite(letti[0][i][j]) || letti[0][i][j] != letti[1][i][j]) __builtin_trap();
      return;
    }
    case Lingua: {
      int numero = 0;
      const EsitoLingua esito = LeggiFileLingua(percorso, numero);
      // A file stands at the name: it is read or it is refused, never taken for a missing one.
      if (esito == EsitoLingua::Illeggibile) __builtin_trap();
      if (esito == EsitoLingua::Letta) {
        Preso(dati);
        if (numero < 1 || numero > 6) __builtin_trap();
      }
      return;
    }
    case Partizioni: {
      Partizione membri;
      if (!LeggiPartizione(kLivelloPartizione, kPoliPartizione, membri)) return;
      Preso(dati);
      // The clusters of the level, each point of the analysis in one of them at most.
      if (membri.size() != static_cast<std::size_t>(kLivelloPartizione) + 1) __builtin_trap();
      std::vector<int> volte(kPoliPartizione + 1, 0);
      for (std::size_t c = 1; c < membri.size(); ++c)
        for (const int punto : membri[c])
          if (punto < 1 || punto > kPoliPartizione || ++volte[static_cast<std::size_t>(punto)] > 1) __builtin_trap();
      return;
    }
    case EditorCfg: {
      // A damaged file is told in a message: the script answers it. A program is one whole line.
      for (const RigaEditor riga : {RigaEditor::Documento, RigaEditor::Testo}) {
        plat::ResetInteraction();
        const QString programma = ProgrammaConfigurato(riga);
        if (!programma.isEmpty()) Preso(dati);
        if (programma.contains(QLatin1Char('\n')) || programma.contains(QLatin1Char('\r'))) __builtin_trap();
      }
      return;
    }
    case EditorTxt:
      // A file that cannot be read counts as none, after a message that the script answers: no formatting.
      plat::ResetInteraction();
      if (!LeggiNessunaFormattazione() && CRSolo(dati)) __builtin_trap();
      return;
    case Blocco:
      // A chunk file of a plot's display list, read as the last chunk of the plot and as one before it. A damaged
      // chunk is told in a message: the script answers it.
      for (const int blocchi : {1, 2}) {
        plat::ResetInteraction();
        Grafico.NumeroBlocchi = blocchi;
        if (!LeggiBloccoSegmenti(1)) continue;
        Preso(dati);
        // What the plot writes: a full chunk before the last one, the last one of at least one segment; finite
        // places, a colour that is an RGB value, a width not below 0.
        const int n = Grafico.NumeroSegmenti;
        if (n < 1 || n > DimensioneBlocco || (blocchi > 1 && n != DimensioneBlocco)) __builtin_trap();
        for (int i = 1; i <= n; ++i) {
          const Segmento& s = Grafico.ListaSegmenti[static_cast<std::size_t>(i)];
          if (!std::isfinite(s.X1) || !std::isfinite(s.Y1) || !std::isfinite(s.X2) || !std::isfinite(s.Y2) ||
              s.Colore < 0 || s.Colore > 0xFFFFFF || !(s.Spessore >= 0) || !std::isfinite(s.Spessore))
            __builtin_trap();
        }
      }
      return;
    case Path: {
      // The folder of the survey-sheet dialogs: one whole line, written back as it was read.
      QString cartella;
      if (LeggiFilePath(percorso, cartella) != EsitoPath::Letto) return;
      Preso(dati);
      if (cartella.isEmpty() || cartella.contains(QLatin1Char('\n')) || cartella.contains(QLatin1Char('\r')))
        __builtin_trap();
      const QString copia = percorso + QStringLiteral(".copia");
      QString riletta;
      if (ScriviFilePath(copia, cartella) &&
          (LeggiFilePath(copia, riletta) != EsitoPath::Letto || riletta != cartella))
        __builtin_trap();
      return;
    }
    case TabellaFamiglie:
    case TabellaConducibilita:
    case TabellaCunei: {
      // A result table as the reports and the plot read it: refused with a line, or taken with rows whose cells
      // are those its writer writes.
      const TabellaRisultati tipo = FRATTIX_FUZZ_LETTORE == TabellaFamiglie        ? TabellaRisultati::Famiglie
                                    : FRATTIX_FUZZ_LETTORE == TabellaConducibilita ? TabellaRisultati::Conducibilita
                                                                                   : TabellaRisultati::Cunei;
      const qsizetype celle = tipo == TabellaRisultati::Famiglie ? 7 : tipo == TabellaRisultati::Conducibilita ? 4 : 8;
      RigheTabellaRisultati t;
      int riga = 0;
      const EsitoTabellaRisultati esito = LeggiTabellaRisultati(percorso, tipo, t, &riga);
      if (esito == EsitoTabellaRisultati::Mancante) __builtin_trap();
      if (esito == EsitoTabellaRisultati::NonValida) {
        if (riga < 1 || !t.righe.isEmpty() || !t.testata.isEmpty()) __builtin_trap();
        return;
      }
      Preso(dati);
      if (t.testata.split(QLatin1Char('\t')).size() != celle) __builtin_trap();
      if (tipo == TabellaRisultati::Conducibilita && t.righe.size() != 3) __builtin_trap();
      for (qsizetype k = 0; k < t.righe.size(); ++k) {
        const QStringList c = t.righe[k].split(QLatin1Char('\t'));
        if (c.size() != celle) __builtin_trap();
        if (tipo == TabellaRisultati::Famiglie && c[0] != QString::number(k + 1)) __builtin_trap();
        CuneoTabella cuneo;
        if (tipo == TabellaRisultati::Cunei &&
            (!ValoriRigaCuneo(t.righe[k], cuneo) || !(cuneo.FattoreSicurezza >= 0 && cuneo.Volume >= 0)))
          __builtin_trap();
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  applicazione = new QCoreApplication(*argc, *argv);
  cartella = new QTemporaryDir();
  // The text style of DXF drawings is read from dxf.cfg in the program folder.
  plat::SetProgramFolder(cartella->path());
  // dxf.cfg, overlap.cfg, editor.cfg, editor.txt, path and the partition files are read from the program folder.
  percorso = cartella->filePath(FRATTIX_FUZZ_LETTORE == StileDxf          ? QStringLiteral("dxf.cfg")
                                : FRATTIX_FUZZ_LETTORE == Sovrapposizione ? QStringLiteral("overlap.cfg")
                                : FRATTIX_FUZZ_LETTORE == Cunei           ? QStringLiteral("prova.GMC")
                                : FRATTIX_FUZZ_LETTORE == EditorCfg       ? QStringLiteral("editor.cfg")
                                : FRATTIX_FUZZ_LETTORE == EditorTxt       ? QStringLiteral("editor.txt")
                                : FRATTIX_FUZZ_LETTORE == Partizioni      ? QString::number(kLivelloPartizione)
                                : FRATTIX_FUZZ_LETTORE == Path            ? QStringLiteral("path")
                                                                          : QStringLiteral("prova.dat"));
  // The chunk file of the display list is read from the private folder of the process.
  if (FRATTIX_FUZZ_LETTORE == Blocco) percorso = FileBloccoSegmenti(1);
  QFile script(cartella->filePath(QStringLiteral("risposte.script")));
  if (script.open(QIODevice::WriteOnly)) script.write(QByteArray("answer OK\n").repeated(4));
  script.close();
  qputenv("FRATTIX_UI_SCRIPT", QFile::encodeName(script.fileName()));
  qunsetenv("FRATTIX_UI_LOG");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray dati(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QFile f(percorso);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
  f.write(dati);
  f.close();
  Leggi(dati);
  return 0;
}
