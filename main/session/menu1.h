// The main window of FRATTIX: its menu bar holds every command of the program.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QString>

#include <memory>

class QAction;
class QMenu;
namespace plat {
class DrawingInAdvance;
class PictureBox;
}

class menu1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit menu1(QWidget* parent = nullptr);
  ~menu1() override;

  // The window's Load: start-up of the main program. `rigaComando` is the whole argument text, taken as one path.
  void Form_Load(const QString& rigaComando);
  void Form_Load();  // with the program's own command line

  // The menu item or top menu of that name (nullptr when there is none).
  QAction* Voce(const QString& nome) const;
  plat::PictureBox* Image1 = nullptr;

  // Commands of the menu bar.
  void FileApri_Click();
  void FileSalva_Click();
  void confstam_Click();
  void FileHelp_Click();
  void AiutoEdizione_Click();
  void AiutoCalcoli_Click();
  void AiutoStampa_Click();
  void sommario_Click();
  void about_Click();
  void Image1_Click();
  void uscita_Click();
  void EdizioneSelezione_Click();
  void EdizioneParametri_Click();
  void EdizioneFronte_Click();
  void EdizioneTitoli_Click();
  void StampaAnteprimaScheda_Click();
  void espsctxt_Click();
  void VisualizzaAnteprimaTabulati_Click();
  void esptabtxt_Click();
  void EsportaSchedaDOC_Click();
  void EsportaTabulatiDOC_Click();

  // The analysis commands: each hands the session to TALVOR or MIRVANE through FilePassaggio and waits for it.
  void CalcoliCluster_Click();
  void CalcoliStabilita_Click();
  void GraficaCluster_Click();
  void GraficaProiezione_Click();
  void GraficaStellare_Click();
  void LanciaClusterDati();
  void LanciaClusterSessione();
  void LanciaStellare();
  // The graphics options of the two TALVOR plots (kind 1 cluster plot, 2 projection of the initial data); the
  // caller reads MascheraCorrente.AnnullaMaschera afterwards.
  void EditaOpzioniGrafiche(int tipo);
  // The six menus Archivi, Edizione, calcoli, Stampa, uscita and about off / on (the help menu stays usable).
  void DisabilitaMenu();
  void AbilitaMenu();
  // True while a child program started by a command of this window runs.
  bool FiglioInCorso() const { return figlioInCorso_; }
  void EdizioneScheda_Click();
  void EdizioneFamiglie_Click();
  void configura_Click();
  void StampaRapidaScheda_Click();
  void StampaRapidaTabulati_Click();

  // The guard of the session commands: true while no session is open, after the message of the command's kind.
  enum class Guardia { Calcoli, Edizione, Output };
  bool SenzaSessione(Guardia tipo);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  void CostruisciMenu();
  QMenu* Menu(const QString& nome, const QString& titolo, QMenu* genitore = nullptr);
  QAction* Comando(QMenu* menu, const QString& nome, const QString& titolo, void (menu1::*gestore)());
  QAction* Comando(QMenu* menu, const QString& nome, const QString& titolo, Guardia guardia);
  void AggiornaTitolo();
  void Form_Resize();
  // One launching command: the steps its caller asks for, then the start of `programma` and the wait.
  struct Lancio {
    const char* programma;
    int modo;
    bool terzaVuota = false;
    bool richiedeDat = false;     // <stem>.dat must exist (else a message says there is no clustering result)
    bool leggeElenco = true;      // the sheet list is read from <stem>.SES (else the one in memory is used)
    bool fermaSeVuoto = false;    // an empty sheet list starts nothing
    bool disabilitaMenu = true;
  };
  void Lancia(const Lancio& l);
  bool RifiutaSeFiglioInCorso();
  void EsportazioneDOC(void (*tabulato)(int));
  QMap<QString, QAction*> voci_;
  // The logo Form_Load starts drawing for the size the window starts with.
  std::unique_ptr<plat::DrawingInAdvance> logoAnticipato_;
  bool figlioInCorso_ = false;
};
