#include "wedge/peldrix.h"

#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "wedge/cuneo.h"

#include <cmath>

ModuloPeldrix Peldrix;

namespace {

const double kGradi = std::atan(1.0) / 45.0;  // degrees to radians

QString Messaggio(const QString& testo, const QString& file) { return testo + QLatin1Char(' ') + file; }

QString FileMancante(const QString& file) { return Messaggio(Traduci("Il file manca o non si puo' leggere:"), file); }

QString FileDanneggiato(const plat::SeqReader& r, const QString& file) {
  return Messaggio(Traduci("Il file e' incompleto o danneggiato:"), file) + QStringLiteral(" (") + Traduci("riga") +
         QLatin1Char(' ') + QString::number(r.LineNumber()) + QLatin1Char(')');
}

// Nothing but blank lines is left: the file counts as ended.
bool FineSostanziale(const plat::SeqReader& r) {
  plat::SeqReader prova = r;
  QString riga;
  while (prova.ReadLine(riga))
    if (!plat::TrimBlanks(riga).isEmpty()) return false;
  return true;
}

// A number of the file; false at the end of the file or when the item is not a finite number.
bool LeggiNumero(plat::SeqReader& r, double& valore) {
  bool ok = false;
  return r.ReadNumber(valore, &ok) && ok;
}

// A count of the file: a whole number from 0 to `massimo`.
bool LeggiConteggio(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre = nullptr) {
  double valore = 0;
  if (oltre) *oltre = false;
  if (!LeggiNumero(r, valore) || valore != std::floor(valore) || valore < 0) return false;
  if (valore > massimo) {
    if (oltre) *oltre = true;
    return false;
  }
  conteggio = static_cast<int>(valore);
  return true;
}

QString NomeFile(const QString& estensione) { return RadiceNome(Peldrix.NomeFileDati) + estensione; }

}  // namespace

void AzzeraPeldrix() { Peldrix = ModuloPeldrix(); }

QString RadiceNome(const QString& nome) {
  const qsizetype punto = nome.indexOf(QLatin1Char('.'));
  return punto < 0 ? QString() : nome.left(punto);
}

bool LeggiPassaggio(QString* errore) {
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("temporan"));
  plat::SeqReader r;
  if (!r.Open(file)) {
    *errore = FileMancante(file);
    return false;
  }
  // Selected-sheet index, mode and a third value (none used here), then the sheet count.
  QString voce;
  for (int k = 0; k < 3; ++k) {
    if (!r.ReadItem(voce)) {
      *errore = FileDanneggiato(r, file);
      return false;
    }
  }
  double schede = 0;
  if (!LeggiNumero(r, schede) || schede != std::floor(schede) || schede < 0) {
    *errore = FileDanneggiato(r, file);
    return false;
  }
  QString riga;
  for (double k = 0; k < schede; ++k) {
    if (!r.ReadLine(riga)) {
      *errore = FileDanneggiato(r, file);
      return false;
    }
  }
  if (!r.ReadLine(riga) || plat::TrimBlanks(riga).isEmpty()) {
    *errore = FileDanneggiato(r, file);
    return false;
  }
  const QString nome = plat::TrimBlanks(riga);
  if (RadiceNome(nome).isEmpty()) {
    *errore = Messaggio(Traduci("Il nome del file di sessione non contiene un punto:"), nome);
    return false;
  }
  Peldrix.NomeFileDati = nome;
  return true;
}

bool LeggiFronte(QString* errore) {
  const QString file = NomeFile(QStringLiteral(".fro"));
  plat::SeqReader r;
  if (!r.Open(file)) {
    *errore = FileMancante(file);
    return false;
  }
  Peldrix.ValoriFronte.fill(0);
  for (int k = 1; k <= 19; ++k) {
    // Values 1 to 9 always stand in the file; the later ones only while it has more.
    if (k > 9 && FineSostanziale(r)) break;
    if (!LeggiNumero(r, Peldrix.ValoriFronte[k])) {
      *errore = FileDanneggiato(r, file);
      return false;
    }
  }
  return true;
}

bool LeggiRisultatoCluster(QString* errore) {
  const QString file = NomeFile(QStringLiteral(".dat"));
  plat::SeqReader r;
  if (!r.Open(file)) {
    *errore = FileMancante(file);
    return false;
  }
  auto danneggiato = [&] {
    *errore = FileDanneggiato(r, file);
    return false;
  };
  QString riga;
  for (int k = 0; k < 9; ++k)
    if (!r.ReadLine(riga)) return danneggiato();

  bool oltre = false;
  int punti = 0;
  if (!LeggiConteggio(r, kMassimoPunti, punti, &oltre)) {
    if (oltre) {
      *errore = Messaggio(Traduci("Troppi punti nel risultato della cluster analysis (al massimo 1000):"), file);
      return false;
    }
    return danneggiato();
  }
  std::vector<std::array<double, 5>> tabella(static_cast<std::size_t>(punti) + 1, std::array<double, 5>{});
  for (int i = 1; i <= punti; ++i)
    for (int k = 1; k <= 4; ++k)
      if (!LeggiNumero(r, tabella[i][k])) return danneggiato();

  int famiglie = 0;
  if (!LeggiConteggio(r, kMassimoFamiglie, famiglie, &oltre)) {
    if (oltre) {
      *errore = Messaggio(Traduci("Troppe famiglie nel risultato della cluster analysis (al massimo 1000):"), file);
      return false;
    }
    return danneggiato();
  }
  // The orientation of family f stands in point record f.
  if (famiglie > punti) return danneggiato();
  double distanza = 0;
  if (!LeggiNumero(r, distanza)) return danneggiato();
  // The member groups: counted and checked, not used.
  for (int f = 1; f <= famiglie; ++f) {
    int membri = 0;
    if (!LeggiConteggio(r, punti, membri)) return danneggiato();
    for (int k = 0; k < membri; ++k) {
      int indice = 0;
      if (!LeggiConteggio(r, punti, indice) || indice < 1) return danneggiato();
    }
  }
  Peldrix.NumeroPunti = punti;
  Peldrix.TabellaPunti = std::move(tabella);
  Peldrix.NumeroFamiglie = famiglie;
  return true;
}

void LeggiParametriFamiglie() {
  const int m = Peldrix.NumeroFamiglie;
  const double attrito = Peldrix.ValoriFronte[6];
  const double coesione = Peldrix.ValoriFronte[5];
  Peldrix.AttritoFamiglia.assign(static_cast<std::size_t>(m) + 1, attrito);
  Peldrix.CoesioneFamiglia.assign(static_cast<std::size_t>(m) + 1, coesione);

  const QString file = NomeFile(QStringLiteral(".PGM"));
  plat::SeqReader r;
  if (plat::FileExists(file) && r.Open(NomeFile(QStringLiteral(".pgm")))) {
    for (int f = 1; f <= m; ++f) {
      double valore = 0;
      if (LeggiNumero(r, valore)) Peldrix.AttritoFamiglia[f] = valore;
      if (LeggiNumero(r, valore)) Peldrix.CoesioneFamiglia[f] = valore;
    }
  }
  for (int f = 1; f <= m; ++f) {
    if (Peldrix.AttritoFamiglia[f] == 0 && Peldrix.CoesioneFamiglia[f] == 0) {
      Peldrix.AttritoFamiglia[f] = attrito;
      Peldrix.CoesioneFamiglia[f] = coesione;
    }
  }
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
  Cuneo.DistanzaFrattura = V[16];
  Cuneo.CoefficienteSismico = V[19];
  const QString si = Traduci("SI");
  const QString no = Traduci("NO");

  // The angles of each family as the table writes them.
  std::vector<QString> colonne(static_cast<std::size_t>(m) + 1);
  for (int f = 1; f <= m; ++f)
    colonne[f] = TestoAngolo(ImmersioneGradi(punti[f][4])) + tab + TestoAngolo(InclinazioneGradi(punti[f][3]));

  QString testo;
  for (int i = 1; i < m; ++i) {
    for (int j = i + 1; j <= m; ++j) {
      // Pairs with a vertical plane, with planes of the same dip direction, or with plane 2 in the dip direction
      // of the face are not computed; nor is any pair against a horizontal face.
      if (V[1] == 0 || punti[i][3] == 0 || punti[j][3] == 0 || punti[i][4] == punti[j][4] ||
          (90.0 - V[2]) * kGradi == punti[j][4])
        continue;
      ArgomentiCuneo a;
      a.ComplInclinazione1 = punti[i][3];
      a.ComplImmersione1 = punti[i][4];
      a.ComplInclinazione2 = punti[j][3];
      a.ComplImmersione2 = punti[j][4];
      a.InclinazioneSuperiore = V[3];
      a.ImmersioneSuperiore = V[4];
      a.InclinazioneFronte = V[1];
      a.ImmersioneFronte = V[2];
      a.InclinazioneFrattura = V[17];
      a.ImmersioneFrattura = V[18];
      a.AltezzaFronte = V[9];
      a.PesoRoccia = V[7];
      a.Coesione1 = Peldrix.CoesioneFamiglia[i];
      a.Attrito1 = Peldrix.AttritoFamiglia[i];
      a.Coesione2 = Peldrix.CoesioneFamiglia[j];
      a.Attrito2 = Peldrix.AttritoFamiglia[j];
      a.PesoAcqua = V[8];
      a.CaricoEsterno = V[10];
      a.InclinazioneCarico = V[11];
      a.DirezioneCarico = V[12];
      a.ForzaAncoraggio = V[13];
      a.InclinazioneAncoraggio = V[14];
      a.DirezioneAncoraggio = V[15];
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
  if (!LeggiPassaggio(&errore) || !LeggiFronte(&errore) || !LeggiRisultatoCluster(&errore)) {
    plat::MsgBox(errore, plat::vbOKOnly | plat::vbCritical, Traduci("ATTENZIONE") + QLatin1Char('!'));
    return 1;
  }
  LeggiParametriFamiglie();
  if (!ScriviFattoriSicurezza(&errore)) {
    plat::MsgBox(errore, plat::vbOKOnly | plat::vbCritical, Traduci("ATTENZIONE") + QLatin1Char('!'));
    return 1;
  }
  return 0;
}
