#include "wedge/peldrix.h"

#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/nomi.h"
#include "common/data/passaggio.h"
#include "common/data/risultato.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "wedge/cuneo.h"

#include <cmath>
#include <limits>

ModuloPeldrix Peldrix;

namespace {

const double kGradi = std::atan(1.0) / 45.0;  // degrees to radians

// The values of a point record that hold the orientation of the family of the same number, in the stored form
// (radians): pi/2 minus the dip, pi/2 minus the dip direction.
constexpr std::size_t kComplInclinazioneCentro = 3;
constexpr std::size_t kComplImmersioneCentro = 4;

// True when two angles in radians give one direction, whatever turn each is written in, to within the rounding of
// the orientations of the clustering result.
bool StessaDirezione(double a, double b) {
  return std::fabs(std::remainder(a - b, 360.0 * kGradi)) < kTolleranzaOrientazioni;
}

// A message about a file: the text, then on the next lines the file's name (and line) and folder.
QString Messaggio(const QString& testo, const QString& file, int riga = 0) {
  return testo + QLatin1Char('\n') + DescrizioneFile(file, riga);
}

QString FileMancante(const QString& file) { return Messaggio(Traduci("Il file manca o non si puo' leggere:"), file); }

QString NomeFile(const QString& estensione) { return FileStem(Peldrix.NomeFileDati, estensione); }

}  // namespace

void AzzeraPeldrix() { Peldrix = ModuloPeldrix(); }

QString RadiceNome(const QString& nome) { return HaStem(nome) ? StemSessione(nome) : QString(); }

bool LeggiPassaggio(QString* errore) {
  const QString file = PercorsoFilePassaggio();
  FilePassaggioDati d;
  int riga = 0;
  switch (LeggiFilePassaggio(file, d, std::numeric_limits<int>::max(), &riga)) {
    case EsitoPassaggio::Letto: break;
    case EsitoPassaggio::Mancante: *errore = FileMancante(file); return false;
    case EsitoPassaggio::NonValido:
    case EsitoPassaggio::TroppeSchede: *errore = FileDanneggiato(file, riga); return false;
  }
  if (!HaStem(d.NomeSessione)) {
    *errore = Traduci("Il nome del file di sessione non contiene un punto:") + QLatin1Char('\n') + d.NomeSessione;
    return false;
  }
  Peldrix.NomeFileDati = d.NomeSessione;
  return true;
}

bool LeggiFronte(QString* errore) {
  const QString file = NomeFile(QStringLiteral(".fro"));
  int riga = 0;
  switch (LeggiFileFronte(file, Peldrix.ValoriFronte, &riga)) {
    case EsitoFronte::Letto: break;
    case EsitoFronte::Mancante: *errore = FileMancante(file); return false;
    case EsitoFronte::NonValido: *errore = FileDanneggiato(file, riga); return false;
  }
  return true;
}

bool LeggiRisultatoCluster(QString* errore) {
  const QString file = NomeFile(QStringLiteral(".dat"));
  RisultatoCluster r;
  int riga = 0;
  switch (LeggiFileRisultato(file, r, kMassimoPunti, kMassimoFamiglie, &riga)) {
    case EsitoRisultato::Letto: break;
    case EsitoRisultato::Mancante: *errore = FileMancante(file); return false;
    case EsitoRisultato::TroppiPunti:
      *errore = Messaggio(Traduci("Troppi punti nel risultato della cluster analysis (al massimo 1000):"), file);
      return false;
    case EsitoRisultato::TroppiCluster:
      *errore = Messaggio(Traduci("Troppe famiglie nel risultato della cluster analysis (al massimo 1000):"), file);
      return false;
    case EsitoRisultato::NonValido: *errore = FileDanneggiato(file, riga); return false;
  }
  Peldrix.NumeroPunti = r.NumeroPoli;
  Peldrix.TabellaPunti = std::move(r.Punti);
  Peldrix.NumeroFamiglie = r.NumeroCluster;
  return true;
}

bool LeggiParametriFamiglie(QString* errore) {
  const double attrito = Peldrix.ValoriFronte[kAttrito];
  const double coesione = Peldrix.ValoriFronte[kCoesione];
  ParametriFamiglie p = ParametriPredefiniti(Peldrix.NumeroFamiglie, attrito, coesione);
  const QString file = NomeFile(QStringLiteral(".pgm"));
  int riga = 0;
  if (LeggiFileParametriFamiglie(file, p, &riga) == EsitoParametri::NonValidi) {
    if (errore) *errore = FileDanneggiato(file, riga);
    return false;
  }
  CompletaParametriFamiglie(p, attrito, coesione);
  Peldrix.AttritoFamiglia = std::move(p.Attrito);
  Peldrix.CoesioneFamiglia = std::move(p.Coesione);
  return true;
}

double ImmersioneGradi(double complImmersione) {
  double gradi = 90.0 - complImmersione / kGradi;
  // Far outside one turn the value is first brought near it, so that the loops below stay short.
  if (std::fabs(gradi) > 3600.0) gradi = std::fmod(gradi, 360.0);
  while (gradi < 0) gradi += 360.0;
  while (gradi > 360.0) gradi -= 360.0;
  return gradi;
}

double InclinazioneGradi(double complInclinazione) { return 90.0 - complInclinazione / kGradi; }

QString TestoAngolo(double gradi) { return FormattaNumero(std::floor(gradi + 0.5), 1); }

bool ScriviFattoriSicurezza(QString* errore) {
  const QString file = NomeFile(QStringLiteral(".GMC"));
  plat::SeqWriter w;
  if (!w.Open(file)) {
    *errore = Messaggio(Traduci("Impossibile scrivere il file:"), file);
    return false;
  }
  const QString tab(QLatin1Char('\t'));
  const QString gradi = QStringLiteral(" [°]");
  w.WriteLine(Traduci("imm.P1") + gradi + tab + Traduci("inc.P1") + gradi + tab + Traduci("sciv.P1") + tab +
              Traduci("imm.P2") + gradi + tab + Traduci("inc.P2") + gradi + tab + Traduci("sciv.P2") + tab +
              Traduci("F.S.") + QStringLiteral(" [-]") + tab + Traduci("Volume") + QStringLiteral(" [m³]"));

  const auto& V = Peldrix.ValoriFronte;
  const auto& punti = Peldrix.TabellaPunti;
  const int m = Peldrix.NumeroFamiglie;
  Cuneo.DistanzaFrattura = V[kDistanzaFrattura];
  Cuneo.CoefficienteSismico = V[kCoefficienteSismico];
  const QString si = Traduci("SI");
  const QString no = Traduci("NO");

  // The angles of each family as the table writes them.
  std::vector<QString> colonne(static_cast<std::size_t>(m) + 1);
  for (int f = 1; f <= m; ++f)
    colonne[f] = TestoAngolo(ImmersioneGradi(punti[f][kComplImmersioneCentro])) + tab +
                 TestoAngolo(InclinazioneGradi(punti[f][kComplInclinazioneCentro]));
  // The face's dip direction in the stored form.
  const double complImmersioneFronte = (90.0 - V[kImmersioneFronte]) * kGradi;

  QString testo;
  for (int i = 1; i < m; ++i) {
    for (int j = i + 1; j <= m; ++j) {
      const auto& piano1 = punti[i];
      const auto& piano2 = punti[j];
      // Pairs with a vertical plane, with planes of the same dip direction, or with plane 2 in the dip direction
      // of the face are not computed; nor is any pair against a horizontal face. The face's dip direction is a
      // number of the slope file, plane 2's a centre that the clustering computes and writes with seven digits in
      // [0, 2 pi]: the two are compared as directions, to within that rounding. (Two planes of one dip direction
      // meet in a horizontal line, which the solution takes for no wedge within the same rounding: there the
      // exact test only spares it the work.)
      if (V[kInclinazioneFronte] == 0 || piano1[kComplInclinazioneCentro] == 0 ||
          piano2[kComplInclinazioneCentro] == 0 || piano1[kComplImmersioneCentro] == piano2[kComplImmersioneCentro] ||
          StessaDirezione(complImmersioneFronte, piano2[kComplImmersioneCentro]))
        continue;
      ArgomentiCuneo a;
      a.ComplInclinazione1 = piano1[kComplInclinazioneCentro];
      a.ComplImmersione1 = piano1[kComplImmersioneCentro];
      a.ComplInclinazione2 = piano2[kComplInclinazioneCentro];
      a.ComplImmersione2 = piano2[kComplImmersioneCentro];
      a.InclinazioneSuperiore = V[kInclinazioneSuperiore];
      a.ImmersioneSuperiore = V[kImmersioneSuperiore];
      a.InclinazioneFronte = V[kInclinazioneFronte];
      a.ImmersioneFronte = V[kImmersioneFronte];
      a.InclinazioneFrattura = V[kInclinazioneFrattura];
      a.ImmersioneFrattura = V[kImmersioneFrattura];
      a.AltezzaFronte = V[kAltezzaFronte];
      a.PesoRoccia = V[kPesoRoccia];
      a.Coesione1 = Peldrix.CoesioneFamiglia[i];
      a.Attrito1 = Peldrix.AttritoFamiglia[i];
      a.Coesione2 = Peldrix.CoesioneFamiglia[j];
      a.Attrito2 = Peldrix.AttritoFamiglia[j];
      a.PesoAcqua = V[kPesoAcqua];
      a.CaricoEsterno = V[kCaricoEsterno];
      a.InclinazioneCarico = V[kInclinazioneCarico];
      a.DirezioneCarico = V[kDirezioneCarico];
      a.ForzaAncoraggio = V[kForzaAncoraggio];
      a.InclinazioneAncoraggio = V[kInclinazioneAncoraggio];
      a.DirezioneAncoraggio = V[kDirezioneAncoraggio];
      if (Cuneo.CoefficienteSismico == 0) CalcolaCuneo(a);
      else CalcolaCuneoEsteso(a);
      if (a.FattoreSicurezza == -1) continue;
      const QString& modo = a.ModoScivolamento;
      testo += colonne[i];
      testo += tab;
      testo += modo.size() > 0 && modo.at(0) == QLatin1Char('1') ? si : no;
      testo += tab;
      testo += colonne[j];
      testo += tab;
      testo += modo.size() > 1 && modo.at(1) == QLatin1Char('1') ? si : no;
      testo += tab;
      testo += FormattaNumero(a.FattoreSicurezza, 2);
      testo += tab;
      testo += FormattaNumero(a.VolumeCuneo, 2);
      testo += QLatin1String("\r\n");
    }
  }
  w.Write(testo);
  if (!w.Close()) {
    *errore = Messaggio(Traduci("Impossibile scrivere il file:"), file);
    return false;
  }
  return true;
}

int EseguiPeldrix() {
  QString errore;
  if (!LeggiPassaggio(&errore) || !LeggiFronte(&errore) || !LeggiRisultatoCluster(&errore) ||
      !LeggiParametriFamiglie(&errore)) {
    plat::MsgBox(errore, plat::vbOKOnly | plat::vbCritical, Traduci("ATTENZIONE") + QLatin1Char('!'));
    return 1;
  }
  if (!ScriviFattoriSicurezza(&errore)) {
    plat::MsgBox(errore, plat::vbOKOnly | plat::vbCritical, Traduci("ATTENZIONE") + QLatin1Char('!'));
    return 1;
  }
  return 0;
}
