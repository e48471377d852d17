#include "cluster/interattiva.h"

#include "cluster/workform.h"

#include "common/platform/drawingsurface.h"
#include "common/platform/files.h"
#include "common/platform/gdi.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

ModuloClusterInterattivo ClusterInterattivo;

namespace {

QPointer<workform> finestraAnalisi;

constexpr int kBianco = 15;
constexpr int kGrigio = 8;
constexpr int kNero = 0;

// The drawing of the poles on the net of the window.
class Rete {
 public:
  Rete(workform* f, const PoliClustering& poli, const OpzioniRete& opzioni)
      : s_(f->Picture1), poli_(poli), opzioni_(opzioni) {}

  void Pulisci() {
    s_->Cls();
    s_->Scale(-1.1, 1.1, 2.2, -2.2);
  }

  // The primitive circle in white: straight segments every π/100.
  void CerchioPrimitivo() {
    const double pi = 4 * std::atan(1.0);
    double x0 = 1, y0 = 0;
    for (int i = 1; i <= 200; ++i) {
      const double t = i * pi / 100;
      const double x = std::cos(t), y = std::sin(t);
      s_->Line(x0, y0, x, y, ColoreBase(kBianco));
      x0 = x;
      y0 = y;
    }
  }

  // The marker of point i: radius 0.01 (1 + ln w), outline and (when not below 0) fill colour numbers.
  void Punto(int i, int bordo, int riempimento = -1) {
    double x = 0, y = 0;
    PosizioneSullaRete(poli_.InclinazionePoli[i], poli_.DirezionePoli[i], opzioni_,
                       ClusterInterattivo.SegnoProiezione, x, y);
    const double peso = std::max(static_cast<double>(poli_.PesoPoli[i]), 1.0);
    s_->Circle(x, y, 0.01 * (1 + std::log(peso)), ColoreBase(bordo),
               riempimento >= 0 ? ColoreBase(riempimento) : -1);
  }

  void Membri(const std::vector<int>& membri, int bordo, int riempimento) {
    for (int p : membri) Punto(p, bordo, riempimento);
  }

  // The centre marker of family k; `cancella` draws it over in black.
  void Centro(int k, const CentroCluster& c, bool cancella) {
    double x = 0, y = 0;
    PosizioneSullaRete(c.Inclinazione, c.Direzione, opzioni_, ClusterInterattivo.SegnoProiezione, x, y);
    if (cancella) {
      s_->Circle(x, y, 0.02, ColoreBase(kNero), ColoreBase(kNero));
      return;
    }
    const int colore = ColoreBase(ColoreCluster(k));
    s_->Circle(x, y, 0.02, colore, ColoreBase(kNero));
    s_->Circle(x, y, 0.01, colore, colore);
  }

 private:
  plat::DrawingSurface* s_;
  const PoliClustering& poli_;
  const OpzioniRete& opzioni_;
};

}  // namespace

QString TestoContatore(const QString& etichetta, double valore) {
  return Traduci(etichetta) + QLatin1Char(' ') + plat::StrNumber(valore);
}

namespace {

// Waits, yielding to the user interface, for a command of the window.
QString AttendiComando() {
  FinestraCluster.TastoComando.clear();
  while (FinestraCluster.TastoComando.isEmpty()) plat::WaitForUser();
  return FinestraCluster.TastoComando;
}

// The picture buttons of Frame4 on a count from 1 to `massimo`: "Aumenta" (more aggregation) lowers it, "Riduci"
// raises it, both within the bounds; true on "OK".
bool Sfoglia(workform* f, int& valore, int massimo) {
  f->Frame4->show();
  const QString comando = AttendiComando();
  if (comando == kComandoAumenta) valore = std::max(valore - 1, 1);
  else if (comando == kComandoRiduci) valore = std::min(valore + 1, massimo);
  return comando == kComandoConferma;
}

// A prompt of Frame5; the value typed when Enter is pressed in its box. A character that the files cannot hold is
// refused as every field refuses it, and the answer is then no number (NaN), which every caller asks again; a text
// of other characters that is no number counts as 0.
double Chiedi(workform* f, workform::Domanda domanda) {
  f->MostraDomanda(domanda);
  FinestraCluster.InvioText1 = false;
  while (!FinestraCluster.InvioText1) plat::WaitForUser();
  const QString risposta = f->Text1->text();
  f->Frame5->hide();
  if (const auto carattere = plat::CharacterALineCannotHold(risposta)) {
    plat::MsgBox(MessaggioCarattere(*carattere), plat::vbOKOnly | plat::vbCritical, f->Frame5->title());
    return std::numeric_limits<double>::quiet_NaN();
  }
  return plat::Val(risposta);
}

// `riga`: the line of the fault, 0 for the whole file.
[[noreturn]] void ErrorePartizione(const QString& testo, int livello, int riga = 0) {
  plat::FatalError(Traduci(testo) + QStringLiteral(": ") + DescrizioneFile(NomePartizione(livello), riga),
                   Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}

// The clusters of a level from its partition file; a file that cannot be read ends the program with a message
// that names the file and the line.
Partizione LeggiLivello(int livello, int n) {
  Partizione p;
  int riga = 0;
  if (!LeggiPartizione(livello, n, p, nullptr, &riga))
    ErrorePartizione(QStringLiteral("Impossibile leggere il file di lavoro della partizione"), livello, riga);
  return p;
}

}  // namespace

void PosizioneSullaRete(double inclinazione, double direzione, const OpzioniRete& opzioni, double segno, double& x,
                        double& y) {
  const double s = std::sin(inclinazione), c = std::cos(inclinazione);
  const double r = opzioni.Opzione1 == 2 ? c / (1 + s) : std::sqrt((1 - s) * (1 - s) + c * c) / std::sqrt(2.0);
  x = segno * r * std::cos(direzione);
  y = segno * r * std::sin(direzione);
}

int ColoreBase(int numero) {
  static const int palette[16] = {
      plat::RgbValue(0, 0, 0),       plat::RgbValue(0, 0, 128),     plat::RgbValue(0, 128, 0),
      plat::RgbValue(0, 128, 128),   plat::RgbValue(128, 0, 0),     plat::RgbValue(128, 0, 128),
      plat::RgbValue(128, 128, 0),   plat::RgbValue(192, 192, 192), plat::RgbValue(128, 128, 128),
      plat::RgbValue(0, 0, 255),     plat::RgbValue(0, 255, 0),     plat::RgbValue(0, 255, 255),
      plat::RgbValue(255, 0, 0),     plat::RgbValue(255, 0, 255),   plat::RgbValue(255, 255, 0),
      plat::RgbValue(255, 255, 255)};
  return palette[std::clamp(numero, 0, 15)];
}

int ColoreCluster(int c) { return 1 + ((std::max(c, 1) - 1) % 15); }

workform* FinestraAnalisi() { return finestraAnalisi; }

void AggregaCluster(workform* f, int metodo, const PoliClustering& poli, const OpzioniRete& opzioni) {
  const int n = poli.NumeroPoli;
  ClusterInterattivo.ClusterLivello = n;
  ClusterInterattivo.SegnoProiezione = opzioni.Opzione2 == 1 ? -1 : 1;
  AggregazioneGerarchica a(MatriceDistanze(poli.InclinazionePoli, poli.DirezionePoli, n), metodo);
  if (!ScriviPartizione(a.Membri(), n))
    ErrorePartizione(QStringLiteral("Impossibile scrivere il file di lavoro della partizione"), n);

  const int sinistra = f->Frame3->x();
  f->Frame3->move(f->Frame5->x(), f->Frame3->y());
  f->Frame3->show();
  f->Label2->hide();
  Rete rete(f, poli, opzioni);
  int pa = 0;
  while (a.Unisci(&pa)) {
    const int colore = ColoreCluster(pa);
    rete.Membri(a.Membri()[pa], kBianco, colore);
    ClusterInterattivo.ClusterLivello = a.Livello();
    plat::DoEvents();
    f->Label1->setText(TestoContatore(QStringLiteral("n. cluster:"), a.Livello()));
    if (!ScriviPartizione(a.Membri(), a.Livello()))
      ErrorePartizione(QStringLiteral("Impossibile scrivere il file di lavoro della partizione"), a.Livello());
  }
  f->Frame3->move(sinistra, f->Frame3->y());
  f->Frame3->show();
  f->Label2->hide();
}

void EseguiClusterAnalysis(const PoliClustering& poli, const StendimentiClustering& stendimenti,
                           const OpzioniRete& opzioni, RisultatoClustering& risultato) {
  const int n = poli.NumeroPoli;
  // A. The window over the whole work area and the points on the net. The sign of the net is known from the
  // start, so the first drawing already shows every point in its place.
  ClusterInterattivo.SegnoProiezione = opzioni.Opzione2 == 1 ? -1 : 1;
  auto* f = new workform;
  finestraAnalisi = f;
  f->setGeometry(plat::WorkArea());
  for (QGroupBox* frame : {f->Frame1, f->Frame2, f->Frame3, f->Frame4, f->Frame5}) frame->hide();
  plat::ShowModeless(f);
  f->showMaximized();
  plat::DoEvents();
  f->Disponi(f->size());
  Rete rete(f, poli, opzioni);
  rete.Pulisci();
  rete.CerchioPrimitivo();
  for (int i = 1; i <= n; ++i) rete.Punto(i, kBianco);

  // B. The linkage, then the aggregation.
  f->Frame1->show();
  FinestraCluster.MetodoAggregazione = 0;
  while (FinestraCluster.MetodoAggregazione == 0) plat::WaitForUser();
  f->Frame1->hide();
  AggregaCluster(f, FinestraCluster.MetodoAggregazione, poli, opzioni);

  for (;;) {
    // C, D. The level.
    f->Frame3->hide();
    int v = 0;
    for (;;) {
      const double valore = Chiedi(f, workform::DomandaLivello);
      if (valore > 0 && valore <= n && valore == std::floor(valore) &&
          plat::FileExists(NomePartizione(static_cast<int>(valore)))) {
        v = static_cast<int>(valore);
        break;
      }
    }

    // E. Browsing the levels.
    rete.Pulisci();
    rete.CerchioPrimitivo();
    f->Frame3->show();
    f->Label2->hide();
    Partizione livello;
    for (;;) {
      f->Label1->setText(TestoContatore(QStringLiteral("n. cluster:"), v));
      livello = LeggiLivello(v, n);
      ClusterInterattivo.ClusterLivello = v;
      for (int c = 1; c <= v; ++c) rete.Membri(livello[c], kBianco, ColoreCluster(c));
      plat::DoEvents();
      if (Sfoglia(f, v, n)) break;
    }
    f->Frame4->hide();
    f->Label2->show();

    // F. Weights and their order.
    const int k0 = ClusterInterattivo.ClusterLivello;
    const std::vector<int> pesi = PesiCluster(livello, poli);
    const std::vector<int> ordine = OrdinePesi(pesi);
    for (int i = 1; i <= n; ++i) rete.Punto(i, kBianco, kBianco);

    // G. How many of the heaviest clusters become families.
    int m = 1;
    for (;;) {
      f->Label1->setText(TestoContatore(QStringLiteral("n. cluster:"), m));
      f->Label2->setText(TestoContatore(QStringLiteral("n. min. poli:"), pesi[ordine[m]]));
      for (int j = 1; j <= k0; ++j) {
        if (j <= m) rete.Membri(livello[ordine[j]], kBianco, ColoreCluster(j));
        else rete.Membri(livello[ordine[j]], kGrigio, kNero);
      }
      if (Sfoglia(f, m, k0)) break;
    }
    f->Frame3->hide();
    f->Frame4->hide();
    Partizione famiglie{{}};
    std::vector<CentroCluster> centri{{}};
    for (int k = 1; k <= m; ++k) {
      famiglie.push_back(livello[ordine[k]]);
      centri.push_back(CentroDiLista(famiglie[k], poli));
      rete.Centro(k, centri[k], false);
    }

    // H. The maximum distance and the non-hierarchical passes.
    double d = -1;
    for (;;) {
      d = Chiedi(f, workform::DomandaDistanza);
      if (d >= 0 && d <= 90) break;
    }
    const auto distanza = static_cast<float>(d * std::atan(1.0) / 45);
    for (int k = 1; k <= m; ++k) rete.Centro(k, centri[k], true);
    ClusteringNonGerarchico nh(poli, famiglie, centri, distanza);
    for (;;) {
      const int stato = distanza > 0 ? nh.Stato() : 1;
      const bool ancora = nh.Passo();
      if (distanza > 0)
        for (int i = 1; i <= n; ++i)
          if (nh.FamigliaDi(i) == 0) rete.Punto(i, kBianco, kNero);
      for (int k = 1; k <= m; ++k) rete.Membri(nh.Famiglie()[k], kBianco, ColoreCluster(k));
      if (stato == 1)
        for (int k = 1; k <= m; ++k) rete.Centro(k, nh.Centri()[k], false);
      // The window stays responsive (and its close button works) between passes.
      plat::DoEvents();
      if (!ancora) break;
    }

    // I. Confirmation or a new start from the level.
    f->Frame2->show();
    const QString comando = AttendiComando();
    f->Frame2->hide();
    if (comando == kComandoRicomincia) continue;

    // J. Apertures and frequencies.
    risultato.NumeroCluster = m;
    risultato.Membri = nh.Famiglie();
    risultato.Centri = nh.Centri();
    risultato.DistanzaMassima = distanza;
    const std::vector<int> senzaFrequenza =
        AperturaEFrequenza(risultato.Membri, risultato.Centri, poli, stendimenti, risultato.PesoFamiglie,
                           risultato.AperturaFamiglie, risultato.FrequenzaFamiglie);
    risultato.FrequenzeCalcolate = CiSonoStendimenti(stendimenti);
    const QString titolo = Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!');
    if (!risultato.FrequenzeCalcolate) {
      // Frequencies and the conductivity tensor need a measuring line with a length: the user is told so.
      const QString testo = Traduci(QStringLiteral(
          "Nessuna scheda ha uno stendimento di lunghezza maggiore di zero: le frequenze delle famiglie e il tensore di conducibilita' non possono essere calcolati."));
      plat::MsgBox(testo, plat::vbOKOnly | plat::vbExclamation, titolo);
    } else if (!senzaFrequenza.empty()) {
      // A family whose planes hold every measuring line is not crossed by any: it has no frequency (0) and no share
      // of the conductivity tensor. The user is told which families these are.
      QStringList numeri;
      for (int k : senzaFrequenza) numeri << QString::number(k);
      const QString testo = Traduci(QStringLiteral(
          "Tutti gli stendimenti giacciono nel piano di queste famiglie, che quindi non hanno frequenza (0.00) e non entrano nel tensore di conducibilita':"));
      plat::MsgBox(testo + QLatin1Char('\n') + numeri.join(QStringLiteral(", ")), plat::vbOKOnly | plat::vbExclamation,
                   titolo);
    }
    return;
  }
}
