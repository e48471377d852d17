#include "main/session/menu1.h"

#include "common/data/elencoschede.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/passaggio.h"
#include "common/platform/drawingsurface.h"
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/platform/help.h"
#include "common/platform/picturebox.h"
#include "common/platform/process.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/dialogs/base1.h"
#include "main/dialogs/base2_32.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"
#include "main/dialogs/piccoli.h"
#include "main/session/configurazione.h"
#include "common/data/elencoschede.h"
#include "main/reports/stampa.h"
#include "main/reports/tabulati.h"
#include "main/session/informazioni.h"
#include "main/session/scheda.h"
#include "main/session/selezione.h"
#include "main/session/sessione.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

const char* const kDidascalia = "Didascalia";  // the design caption, translated at start-up

// The window's size at start.
constexpr QSize kDimensioneIniziale(800, 560);

// The picture of size `immagine` (pixels of the window) that shows a logo laid out on the whole window: the
// picture, below the menu bar, shows the logo's lower part (the same pixels, not a copy), at the logo's pixel ratio.
QImage LogoPerImmagine(const QImage& logo, const QSize& immagine) {
  const qreal rapporto = logo.devicePixelRatio();
  const QSize pixel = plat::ScreenPixels(immagine, rapporto).boundedTo(logo.size());
  if (logo.size() == pixel) return logo;
  auto* tenuto = new QImage(logo);
  const int primaRiga = logo.height() - pixel.height();
  QImage parte(tenuto->constBits() + static_cast<qsizetype>(primaRiga) * tenuto->bytesPerLine(), pixel.width(),
               pixel.height(), tenuto->bytesPerLine(), tenuto->format(), [](void* p) { delete static_cast<QImage*>(p); },
               tenuto);
  parte.setDevicePixelRatio(rapporto);
  return parte;
}

// The 26 menu items that take their help context from ContestiAiuto entries 3 to 28, in this order.
const char* const kVociConContesto[] = {
    "FileApri",          "FileSalva",          "confstam",          "EdizioneScheda",
    "EdizioneSelezione", "EdizioneParametri",  "EdizioneFronte",    "EdizioneFamiglie",
    "EdizioneTitoli",    "CalcoliCluster",     "CalcoliStabilita",  "sgraf",
    "GraficaProiezione", "GraficaCluster",     "GraficaStellare",   "StampaScheda",
    "StampaAnteprimaScheda", "StampaRapidaScheda", "EsportaSchedaDOC", "espsctxt",
    "Stabu",             "VisualizzaAnteprimaTabulati", "StampaRapidaTabulati", "EsportaTabulatiDOC",
    "esptabtxt",         "configura"};

// The remaining captions, translated after the 26 above.
const char* const kAltreVoci[] = {"Archivi", "FileHelp", "Edizione", "AiutoEdizione", "calcoli", "AiutoCalcoli",
                                  "Stampa",  "AiutoStampa", "uscita", "menuaiuto", "sommario", "about"};

}  // namespace

menu1::menu1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("menu1"));
  setWindowTitle(QStringLiteral("FRATTIX 32"));
  plat::RegisterForm(this);
  Image1 = new plat::PictureBox(QStringLiteral("Image1"), this);
  setCentralWidget(Image1);
  connect(Image1, &plat::PictureBox::Click, this, &menu1::Image1_Click);
  CostruisciMenu();
  RegistraBase1();
}

menu1::~menu1() { plat::UnregisterForm(this); }

QMenu* menu1::Menu(const QString& nome, const QString& titolo, QMenu* genitore) {
  QMenu* m = genitore ? genitore->addMenu(titolo) : menuBar()->addMenu(titolo);
  m->setObjectName(nome);
  m->menuAction()->setObjectName(nome);
  m->menuAction()->setProperty(kDidascalia, titolo);
  m->installEventFilter(this);
  voci_.insert(nome, m->menuAction());
  return m;
}

QAction* menu1::Comando(QMenu* menu, const QString& nome, const QString& titolo, void (menu1::*gestore)()) {
  QAction* a = menu ? menu->addAction(titolo) : menuBar()->addAction(titolo);
  a->setObjectName(nome);
  a->setProperty(kDidascalia, titolo);
  if (gestore) connect(a, &QAction::triggered, this, gestore);
  voci_.insert(nome, a);
  return a;
}

QAction* menu1::Comando(QMenu* menu, const QString& nome, const QString& titolo, Guardia guardia) {
  QAction* a = Comando(menu, nome, titolo, nullptr);
  connect(a, &QAction::triggered, this, [this, guardia] { SenzaSessione(guardia); });
  return a;
}

void menu1::CostruisciMenu() {
  // The menu tree in its order on screen, with the design captions (translated by Form_Load).
  QMenu* archivi = Menu(QStringLiteral("Archivi"), QStringLiteral("&Archivi"));
  Comando(archivi, QStringLiteral("FileApri"), QStringLiteral("&Apri"), &menu1::FileApri_Click);
  Comando(archivi, QStringLiteral("FileSalva"), QStringLiteral("&Salva"), &menu1::FileSalva_Click);
  Comando(archivi, QStringLiteral("confstam"), QStringLiteral("&Configura Stampante"), &menu1::confstam_Click);
  Comando(archivi, QStringLiteral("FileHelp"), QStringLiteral("&Help"), &menu1::FileHelp_Click);

  QMenu* edizione = Menu(QStringLiteral("Edizione"), QStringLiteral("&Edizione"));
  Comando(edizione, QStringLiteral("EdizioneScheda"), QStringLiteral("&Edizione Scheda"), &menu1::EdizioneScheda_Click);
  Comando(edizione, QStringLiteral("EdizioneSelezione"), QStringLiteral("&Selezione Schede"),
          &menu1::EdizioneSelezione_Click);
  Comando(edizione, QStringLiteral("EdizioneParametri"), QStringLiteral("Selezione &Discontinuita'"),
          &menu1::EdizioneParametri_Click);
  Comando(edizione, QStringLiteral("EdizioneFronte"), QStringLiteral("Descrizione &Fronte"),
          &menu1::EdizioneFronte_Click);
  Comando(edizione, QStringLiteral("EdizioneFamiglie"), QStringLiteral("&Parametri Famiglie"),
          &menu1::EdizioneFamiglie_Click);
  Comando(edizione, QStringLiteral("EdizioneTitoli"), QStringLiteral("&Titoli"), &menu1::EdizioneTitoli_Click);
  Comando(edizione, QStringLiteral("AiutoEdizione"), QStringLiteral("&Help"), &menu1::AiutoEdizione_Click);

  QMenu* calcoli = Menu(QStringLiteral("calcoli"), QStringLiteral("&Calcoli"));
  Comando(calcoli, QStringLiteral("CalcoliCluster"), QStringLiteral("&Cluster Analysis"), &menu1::CalcoliCluster_Click);
  Comando(calcoli, QStringLiteral("CalcoliStabilita"), QStringLiteral("&Stabilita' Cunei"),
          &menu1::CalcoliStabilita_Click);
  Comando(calcoli, QStringLiteral("AiutoCalcoli"), QStringLiteral("&Help"), &menu1::AiutoCalcoli_Click);

  QMenu* stampa = Menu(QStringLiteral("Stampa"), QStringLiteral("&Stampa"));
  QMenu* sgraf = Menu(QStringLiteral("sgraf"), QStringLiteral("Elaborati &Grafici"), stampa);
  Comando(sgraf, QStringLiteral("GraficaProiezione"), QStringLiteral("Proiezione Stereografica Dati &Iniziali"),
          &menu1::GraficaProiezione_Click);
  Comando(sgraf, QStringLiteral("GraficaCluster"), QStringLiteral("Proiezione Stereografica &Cluster"),
          &menu1::GraficaCluster_Click);
  Comando(sgraf, QStringLiteral("GraficaStellare"), QStringLiteral("&Diagramma Stellare"),
          &menu1::GraficaStellare_Click);
  QMenu* schede = Menu(QStringLiteral("StampaScheda"), QStringLiteral("&Schede Rilievo Strutturale"), stampa);
  Comando(schede, QStringLiteral("StampaAnteprimaScheda"), QStringLiteral("Visualizza &Anteprima Scheda"),
          &menu1::StampaAnteprimaScheda_Click);
  Comando(schede, QStringLiteral("StampaRapidaScheda"), QStringLiteral("Stampa &Rapida Scheda"),
          &menu1::StampaRapidaScheda_Click);
  Comando(schede, QStringLiteral("EsportaSchedaDOC"), QStringLiteral("&Esporta Scheda in Formato DOC"),
          &menu1::EsportaSchedaDOC_Click);
  Comando(schede, QStringLiteral("espsctxt"), QStringLiteral("Esporta Scheda in Formato &TXT"), &menu1::espsctxt_Click);
  QMenu* tabulati = Menu(QStringLiteral("Stabu"), QStringLiteral("&Tabulati"), stampa);
  Comando(tabulati, QStringLiteral("VisualizzaAnteprimaTabulati"), QStringLiteral("Visualizza &Anteprima Tabulati"),
          &menu1::VisualizzaAnteprimaTabulati_Click);
  Comando(tabulati, QStringLiteral("StampaRapidaTabulati"), QStringLiteral("Stampa &Rapida Tabulati"),
          &menu1::StampaRapidaTabulati_Click);
  Comando(tabulati, QStringLiteral("EsportaTabulatiDOC"), QStringLiteral("&Esporta Tabulati in Formato DOC"),
          &menu1::EsportaTabulatiDOC_Click);
  Comando(tabulati, QStringLiteral("esptabtxt"), QStringLiteral("Esporta Tabulati in Formato &TXT"),
          &menu1::esptabtxt_Click);
  Comando(stampa, QStringLiteral("configura"), QStringLiteral("&Configura"), &menu1::configura_Click);
  Comando(stampa, QStringLiteral("AiutoStampa"), QStringLiteral("&Help"), &menu1::AiutoStampa_Click);

  Comando(nullptr, QStringLiteral("uscita"), QStringLiteral("&Uscita"), &menu1::uscita_Click);

  QMenu* aiuto = Menu(QStringLiteral("menuaiuto"), QStringLiteral("&Help"));
  Comando(aiuto, QStringLiteral("sommario"), QStringLiteral("&Sommario"), &menu1::sommario_Click);
  Comando(aiuto, QStringLiteral("about"), QStringLiteral("&Info"), &menu1::about_Click);
}

QAction* menu1::Voce(const QString& nome) const { return voci_.value(nome, nullptr); }

void menu1::Form_Load() {
  const QStringList argomenti = QCoreApplication::arguments();
  Form_Load(argomenti.mid(1).join(QLatin1Char(' ')));
}

void menu1::Form_Load(const QString& rigaComando) {
  // The logo is drawn on another thread while the program starts, for the size the window starts with.
  logoAnticipato_ = std::make_unique<plat::DrawingInAdvance>(
      [rapporto = plat::ScreenPixelRatio(this)] { return DisegnaLogo(kDimensioneIniziale, true, rapporto); });
  // 1. Start-up routine with the language choice.
  Avvio.NumeroModulo = 3;
  AvvioProgramma(true);
  // 2. The help file of the language, when it is installed (else the one the start-up chose).
  const QString aiuto =
      plat::JoinPath(plat::ProgramFolder(), QStringLiteral("korven") + Avvio.CodiceLingua + QStringLiteral(".hlp"));
  if (plat::FileExists(aiuto)) Avvio.FileAiuto = plat::ResolveExisting(aiuto);
  // 3-5. No session; the data model anew.
  Sessione = ModuloSessione();
  Scheda = ModuloScheda();
  Selezione = ModuloSelezione();
  MascheraCorrente = StatoMaschera();
  AzzeraTitoli();
  CaricaContestiAiuto();
  // 6. The seven dialog definitions; the index of a file is its definition number. Each must match the dialog its
  // command shows: the slope form's 19 fields, the graphics options' 5 choices, the family grid's 3 columns, the
  // sheet grid's 15 columns with its row buttons, the sheet header's 7 fields, the titles' 4.
  static const struct {
    const char* nome;
    FormaDefinizione forma;
  } kDefinizioni[] = {{"EDITFRON.MAV", {1, 0, 19, 3}}, {"EDITPARG.MAV", {1, 5, 5, 3}}, {"EDITPFAM.MAV", {3, 0, 3, 3}},
                      {"EDITSCHE.MAV", {4, 0, 15, 5}}, {"EDITPGEN.MAV", {1, 0, 7, 3}}, {"EDITTITO.MAV", {1, 0, 4, 3}},
                      {"EDITPARG2.MAV", {1, 5, 5, 3}}};
  std::vector<QString> percorsi = {QString()};
  std::vector<FormaDefinizione> forme = {FormaDefinizione()};
  for (const auto& d : kDefinizioni) {
    percorsi.push_back(plat::JoinPath(plat::ProgramFolder(), QString::fromLatin1(d.nome)));
    forme.push_back(d.forma);
  }
  LeggiDefinizioniMaschere(7, percorsi, forme);
  RegistraGriglia();
  // 7. The configuration of the survey sheets.
  LeggiConfigurazione();
  // 9-10. Help contexts and captions in the current language.
  for (int i = 0; i < 26; ++i) ImpostaContestoAiuto(Voce(QString::fromLatin1(kVociConContesto[i])), ContestoAiuto(i + 3));
  QStringList ordine;
  for (const char* n : kVociConContesto) ordine << QString::fromLatin1(n);
  for (const char* n : kAltreVoci) ordine << QString::fromLatin1(n);
  for (const QString& n : ordine)
    if (QAction* a = Voce(n)) a->setText(Traduci(a->property(kDidascalia).toString()));
  resize(kDimensioneIniziale);
  Form_Resize();
  // 8. The command line: nothing shows the About box; an existing file opens its session.
  if (rigaComando.isEmpty()) {
    about_Click();
    return;
  }
  if (!plat::FileExists(rigaComando)) {
    // A folder, a pipe or a device named on the command line is no session: said, and nothing opens.
    if (plat::EntryExists(rigaComando))
      Attenzione(QStringLiteral("Il file seguente non puo' essere letto:"), DescrizioneFile(rigaComando));
    return;
  }
  QString cartella, nome;
  DividiPercorso(rigaComando, cartella, nome);
  if (!NomeScrivibile(nome)) return;  // a session the hand-over file cannot name is not opened
  if (!cartella.isEmpty() && !plat::ChangeFolder(cartella)) return;
  Sessione.NomeSessione = nome;
  AzzeraTitoli();  // a session never starts with another session's titles
  AggiornaTitolo();
}

void menu1::AggiornaTitolo() {
  setWindowTitle(QStringLiteral("FRATTIX - ") + StemSessione(Sessione.NomeSessione).toLower());
}

bool menu1::SenzaSessione(Guardia tipo) {
  if (!Sessione.NomeSessione.isEmpty()) return false;
  switch (tipo) {
    case Guardia::Calcoli:
      Attenzione(QStringLiteral("Non e' possibile eseguire calcoli prima di aver aperto un file."));
      break;
    case Guardia::Edizione:
      Attenzione(QStringLiteral("Non e' possibile editare dati prima di aver aperto un file."));
      break;
    case Guardia::Output:
      Attenzione(QStringLiteral("Non e' possibile produrre output prima di aver aperto un file."));
      break;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Session, file and help commands.

void menu1::FileApri_Click() {
  // The dialog opens in the folder last used; the current folder stays the session's until a file is chosen.
  const QString usata = CartellaPath();
  const QString iniziale = plat::FolderExists(usata) ? plat::ResolveExisting(usata) : plat::CurrentFolder();
  const QString scelto = plat::GetOpenOrNewFileName(
      QStringLiteral("FRATTIX"), iniziale, Traduci(QStringLiteral("FRATTIX|*.ses")), Sessione.NomeSessione);
  // A short extension (a point among the last four characters of the name) is replaced by ".ses".
  const QString percorso = plat::WithShortExtensionReplaced(scelto, QStringLiteral(".ses"));
  if (percorso.isEmpty()) return;  // nothing chosen
  QString cartella, file;
  DividiPercorso(percorso, cartella, file);
  // The children find the session by the name in the hand-over file: a name it cannot hold is refused here.
  if (!NomeScrivibile(file)) return;
  if (!cartella.isEmpty()) {
    if (!plat::ChangeFolder(cartella)) {
      Attenzione(QStringLiteral("La cartella seguente non e' accessibile:"), cartella);
      return;
    }
    ScriviPath(plat::CurrentFolder());
  }
  Sessione.NomeSessione = file;
  AzzeraTitoli();  // a session never starts with another session's titles
  AggiornaTitolo();
}

void menu1::FileSalva_Click() {
  if (Sessione.NomeSessione.isEmpty()) return;
  const QString scelto = plat::GetSaveFileName(QStringLiteral("FRATTIX"), plat::CurrentFolder(),
                                               Traduci(QStringLiteral("FRATTIX|*.ses")), Sessione.NomeSessione);
  if (!scelto.isEmpty()) {
    QString cartella, file;
    DividiPercorso(scelto, cartella, file);
    const qsizetype punto = file.indexOf(QLatin1Char('.'));
    file = punto >= 0 ? file.left(punto + 1) + QStringLiteral("ses") : file + QStringLiteral(".ses");
    if (file != QLatin1String(".ses") && NomeScrivibile(file)) {
      if (!cartella.isEmpty() && !plat::ChangeFolder(cartella)) {
        Attenzione(QStringLiteral("La cartella seguente non e' accessibile:"), cartella);
      } else {
        if (!cartella.isEmpty()) ScriviPath(plat::CurrentFolder());
        Sessione.NomeSessione = file;
      }
    }
  }
  AggiornaTitolo();
}

void menu1::confstam_Click() {
  ConfiguraStampante(Traduci(QStringLiteral("&Configura Stampante")).remove(QLatin1Char('&')));
}

void menu1::FileHelp_Click() { MostraAiuto(ContestoAiuto(29)); }
void menu1::AiutoEdizione_Click() { MostraAiuto(ContestoAiuto(30)); }
void menu1::AiutoCalcoli_Click() { MostraAiuto(ContestoAiuto(31)); }
void menu1::AiutoStampa_Click() { MostraAiuto(ContestoAiuto(32)); }
void menu1::sommario_Click() { MostraSommarioAiuto(); }

void menu1::about_Click() {
  QPointer<INFORMAZIONI> box = new INFORMAZIONI();
  if (!Sessione.NomeSessione.isEmpty()) {
    QString testo = Traduci(QStringLiteral("File corrente:")) + QLatin1Char(' ') + Sessione.NomeSessione.toUpper() +
                    QLatin1Char('.');
    testo = testo.left(testo.indexOf(QLatin1Char('.')));
    const qsizetype e = testo.indexOf(QLatin1Char('&'));
    if (e >= 0) testo.insert(e, QLatin1Char('&'));
    box->ImpostaLabel8(testo);
  }
  plat::ShowModal(box);
  if (box) box->Unload();
}

void menu1::Image1_Click() { about_Click(); }

void menu1::uscita_Click() {
  // TALVOR and PELDRIX still read the hand-over file while a child runs.
  if (RifiutaSeFiglioInCorso()) return;
  const QString passaggio = FilePassaggio();
  if (plat::FileExists(passaggio)) plat::DeleteFile(passaggio);
  plat::CloseHelp();
  plat::EndProgram(0);
}

void menu1::closeEvent(QCloseEvent* event) {
  if (RifiutaSeFiglioInCorso()) {
    event->ignore();
    return;
  }
  event->accept();
  uscita_Click();
}

void menu1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void menu1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Form_Resize();
}

void menu1::Form_Resize() {
  // The logo is drawn at the window's final size: not while the window is hidden (its layout has given the picture
  // no size yet), and not again for the size it already has. It is laid out on the whole window, the menu bar
  // covering its top.
  if (!Image1 || !isVisible()) return;
  const QSize immagine = Image1->size().expandedTo(QSize(16, 16));
  const qreal rapporto = plat::ScreenPixelRatio(Image1);
  if (plat::WindowSize(Image1->Picture()) == immagine && Image1->Picture().devicePixelRatio() == rapporto) return;
  const QSize finestra = size().expandedTo(immagine);
  if (finestra.width() != immagine.width()) {
    Image1->SetPicture(DisegnaLogo(immagine, true, rapporto));
    return;
  }
  QImage logo;
  if (logoAnticipato_) {
    // The logo drawn in advance serves if the window has the size it was drawn for.
    const std::unique_ptr<plat::DrawingInAdvance> anticipato = std::move(logoAnticipato_);
    logo = anticipato->Take();
    if (finestra != kDimensioneIniziale || logo.devicePixelRatio() != rapporto) logo = QImage();
  }
  if (logo.isNull()) logo = DisegnaLogo(finestra, true, rapporto);
  Image1->SetPicture(LogoPerImmagine(logo, immagine));
}

bool menu1::eventFilter(QObject* oggetto, QEvent* evento) {
  // F1 on a highlighted menu item shows the item's help topic.
  if (evento->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_F1) {
    if (auto* m = qobject_cast<QMenu*>(oggetto)) {
      const int contesto = ContestoAiutoDi(m->activeAction());
      if (contesto > 0) {
        MostraAiuto(contesto);
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(oggetto, evento);
}

// ---------------------------------------------------------------------------------------------------------------
// The session's sheet list.

void menu1::EdizioneSelezione_Click() {
  if (SenzaSessione(Guardia::Edizione)) return;
  QStringList schede;
  for (const QString& f : plat::FindFiles(plat::JoinPath(plat::CurrentFolder(), QStringLiteral("*.SCH"))))
    schede << plat::FileNamePart(f).toLower();
  const int m = static_cast<int>(schede.size());
  if (m == 0) {
    Attenzione(QStringLiteral("Nessuna scheda e' stata finora introdotta."));
    return;
  }
  if (m > kMassimoSchedeCartella) {
    Attenzione(QStringLiteral("Il numero di schede supera il massimo ammesso:"),
               QString::number(m) + QStringLiteral(" > ") + QString::number(kMassimoSchedeCartella));
    return;
  }
  // In ascending order of the characters' codes.
  std::stable_sort(schede.begin(), schede.end(),
                   [](const QString& a, const QString& b) { return plat::EncodeAnsi(a) < plat::EncodeAnsi(b); });
  std::vector<double> stati(static_cast<std::size_t>(m) + 1, 2);
  QStringList elenco;
  QString errore;
  const QString fileElenco = FileDellaSessione(QStringLiteral(".SES"));
  const EsitoElenco esito = LeggiElencoSchede(fileElenco, elenco, Sessione.LimiteSchede, &errore);
  if (esito == EsitoElenco::TroppeSchede) {
    // A list beyond the limit is no damaged list: it is kept as it is, with every name.
    Attenzione(QStringLiteral("Il numero di schede supera il massimo ammesso:"), errore);
    return;
  }
  if (esito == EsitoElenco::NonValido) {
    AttenzioneTradotta(FileDanneggiatoDescritto(errore));
    // A damaged list does not lock the command: the user may start again from an empty list.
    if (!RipartireDaiPredefiniti()) return;
    elenco.clear();
    if (!ScriviElencoSchede(fileElenco, elenco)) {
      Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), plat::ResolveForWrite(fileElenco));
      return;
    }
  }
  for (QString& n : elenco) n = n.toLower();
  std::vector<QString> didascalie(static_cast<std::size_t>(m) + 1);
  for (int j = 1; j <= m; ++j) {
    const QString& nome = schede.at(j - 1);
    if (elenco.contains(nome)) stati[static_cast<std::size_t>(j)] = 1;
    didascalie[static_cast<std::size_t>(j)] = nome.left(nome.size() - 4);
  }
  MascheraCorrente.TitoloMaschera = Traduci(QStringLiteral("SELEZIONE SCHEDE DA UTILIZZARE"));
  ScegliConCaselle(MascheraCorrente.TitoloMaschera, m, didascalie, stati, 39);
  QStringList nuovo;
  for (int j = 1; j <= m; ++j) {
    if (stati[static_cast<std::size_t>(j)] != 1) continue;
    // A sheet whose name the list cannot hold would be a name no program finds again: it stays out, with a message.
    const QString nome = didascalie[static_cast<std::size_t>(j)] + QStringLiteral(".sch");
    if (NomeScrivibile(nome)) nuovo << nome;
  }
  Sessione.NumeroSchede = static_cast<int>(nuovo.size());
  std::fill(Sessione.ElencoSchede.begin(), Sessione.ElencoSchede.end(), QString());
  for (int j = 1; j <= Sessione.NumeroSchede; ++j) Sessione.ElencoSchede[static_cast<std::size_t>(j)] = nuovo.at(j - 1);
  if (!ScriviElencoSchede(fileElenco, nuovo))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(fileElenco));
}

// ---------------------------------------------------------------------------------------------------------------
// The selection criteria.

void menu1::EdizioneParametri_Click() {
  if (SenzaSessione(Guardia::Edizione)) return;
  const QString configurazione = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("frattixint.cfg"));
  QString campo;
  if (!Configurazione.Letta) {
    AttenzioneTradotta(FileDanneggiato(configurazione));
    return;
  }
  if (!ConfigurazioneSelezionabile(Configurazione, &campo)) {
    AttenzioneTradotta(FileDanneggiato(configurazione) + QStringLiteral("\n") + campo);
    return;
  }
  if (LeggiSelezione() == EsitoSelezione::NonValida) {
    // Damaged criteria do not lock the command: the user may start again from the defaults.
    if (!RipartireDaiPredefiniti()) return;
    CriteriPredefiniti(Selezione);
    const QString file = FileDellaSessione(QStringLiteral(".sel"));
    if (!ScriviFileSelezione(file, Configurazione, Selezione)) {
      Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), plat::ResolveForWrite(file));
      return;
    }
  }

  QStringList elenco = {Traduci(QStringLiteral("SELEZIONE PARAMETRI"))};
  for (int f = 3; f <= 14; ++f) elenco << Configurazione.DescrizioneColonna[static_cast<std::size_t>(f)];
  auto testo = [](double v) { return plat::TrimBlanks(plat::StrNumber(v)); };
  for (;;) {
    const int c = ScegliDaElenco(elenco, 12);
    if (c < 1 || c > 12) break;
    MascheraCorrente.TitoloMaschera = elenco.at(c);
    const int f = c + 2;
    if (std::find(kOrdineFileSelezione.begin(), kOrdineFileSelezione.end(), f) != kOrdineFileSelezione.end()) {
      const int n = std::min(Configurazione.NumeroCodici(f), LimiteCodiciScelti(f));
      std::vector<QString> voci(static_cast<std::size_t>(n) + 1);
      std::vector<double> stati(static_cast<std::size_t>(n) + 1);
      auto& flag = Selezione.CodiciScelti[static_cast<std::size_t>(f)];
      for (int j = 1; j <= n; ++j) {
        voci[static_cast<std::size_t>(j)] = Configurazione.SignificatiCodici[static_cast<std::size_t>(j)][static_cast<std::size_t>(f)];
        stati[static_cast<std::size_t>(j)] = flag[static_cast<std::size_t>(j)];
      }
      ScegliConCaselle(MascheraCorrente.TitoloMaschera, n, voci, stati, 40);
      for (int j = 1; j <= n; ++j) flag[static_cast<std::size_t>(j)] = stati[static_cast<std::size_t>(j)];
    } else if (f == Imm || f == Inc || f == Ap) {
      double* minimo = f == Imm ? &Selezione.ImmersioneMinima : f == Inc ? &Selezione.InclinazioneMinima : &Selezione.AperturaMinima;
      double* massimo = f == Imm ? &Selezione.ImmersioneMassima : f == Inc ? &Selezione.InclinazioneMassima : &Selezione.AperturaMassima;
      const QString unita = f == Ap ? QStringLiteral(" [mm]") : QStringLiteral(" [\u00B0]");
      QString v1 = testo(*minimo), v2 = testo(*massimo), v3;
      // A bound beyond what the criteria file holds is refused in the dialog, with its range.
      const std::pair<double, double> ammessi{-kLimiteIntervalloSelezione, kLimiteIntervalloSelezione};
      EditaLinea(2, MascheraCorrente.TitoloMaschera, Traduci(QStringLiteral("Valore minimo")) + unita,
                 Traduci(QStringLiteral("Valore massimo")) + unita, QString(), QStringLiteral("40"), v1, v2, v3,
                 {ammessi, ammessi, std::nullopt});
      *minimo = plat::Val(v1);
      *massimo = plat::Val(v2);
    }
  }
  const QString file = FileDellaSessione(QStringLiteral(".sel"));
  if (!ScriviFileSelezione(file, Configurazione, Selezione))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(file));
}

// ---------------------------------------------------------------------------------------------------------------
// The reports: preview and text file of the results report and of a survey sheet's report.

void menu1::StampaAnteprimaScheda_Click() { TabulatoScheda(kAnteprima); }
void menu1::espsctxt_Click() { TabulatoScheda(kTestoTXT); }

void menu1::VisualizzaAnteprimaTabulati_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  ProduciTabulati(kAnteprima);
}

void menu1::esptabtxt_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  ProduciTabulati(kTestoTXT);
}

// The Word exports: the six menus stay off, and the exit is refused, while wenlow writes the document.
void menu1::EsportaSchedaDOC_Click() { EsportazioneDOC(&TabulatoScheda); }

void menu1::EsportaTabulatiDOC_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  EsportazioneDOC(&ProduciTabulati);
}

void menu1::EsportazioneDOC(void (*tabulato)(int)) {
  if (RifiutaSeFiglioInCorso()) return;
  DisabilitaMenu();
  figlioInCorso_ = true;
  tabulato(kDocumentoDOC);
  figlioInCorso_ = false;
  AbilitaMenu();
}

// ---------------------------------------------------------------------------------------------------------------
// Launching the analysis programs.

void menu1::CalcoliCluster_Click() {
  if (SenzaSessione(Guardia::Calcoli)) return;
  Lancia({.programma = "TALVOR.exe", .modo = ModoCluster, .fermaSeVuoto = true});
}

void menu1::CalcoliStabilita_Click() {
  if (SenzaSessione(Guardia::Calcoli)) return;
  Lancia({.programma = "TALVOR.exe", .modo = ModoStabilita, .terzaVuota = true, .richiedeDat = true,
          .fermaSeVuoto = true});
}

void menu1::GraficaCluster_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  LanciaClusterDati();
}

void menu1::GraficaProiezione_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  LanciaClusterSessione();
}

void menu1::GraficaStellare_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  LanciaStellare();
}

void menu1::LanciaClusterDati() {
  if (RifiutaSeFiglioInCorso()) return;
  EditaOpzioniGrafiche(1);
  if (MascheraCorrente.AnnullaMaschera != 0) return;
  Lancia({.programma = "TALVOR.exe", .modo = ModoGrafico, .richiedeDat = true, .leggeElenco = false});
}

void menu1::LanciaClusterSessione() {
  if (RifiutaSeFiglioInCorso()) return;
  EditaOpzioniGrafiche(2);
  if (MascheraCorrente.AnnullaMaschera != 0) return;
  Lancia({.programma = "TALVOR.exe", .modo = ModoGrafico});
}

void menu1::LanciaStellare() { Lancia({.programma = "MIRVANE.exe", .modo = 0, .disabilitaMenu = false}); }

void menu1::DisabilitaMenu() {
  for (const char* nome : {"Archivi", "Edizione", "calcoli", "Stampa", "uscita", "about"})
    if (QAction* a = Voce(QString::fromLatin1(nome))) a->setEnabled(false);
}

void menu1::AbilitaMenu() {
  for (const char* nome : {"Archivi", "Edizione", "calcoli", "Stampa", "uscita", "about"})
    if (QAction* a = Voce(QString::fromLatin1(nome))) a->setEnabled(true);
}

bool menu1::RifiutaSeFiglioInCorso() {
  if (!figlioInCorso_) return false;
  Attenzione(QStringLiteral("Un programma di calcolo e' in esecuzione: attendete che sia terminato."));
  return true;
}

void menu1::Lancia(const Lancio& l) {
  if (RifiutaSeFiglioInCorso()) return;
  // Without the files the child needs the command does nothing.
  const QString fileElenco = FileDellaSessione(QStringLiteral(".SES"));
  if (!plat::EntryExists(fileElenco)) return;
  if (l.leggeElenco) {
    QStringList elenco;
    QString errore;
    switch (LeggiElencoSchede(fileElenco, elenco, Sessione.LimiteSchede, &errore)) {
      case EsitoElenco::Letto: break;
      case EsitoElenco::TroppeSchede:
        Attenzione(QStringLiteral("Il numero di schede supera il massimo ammesso:"), errore);
        return;
      case EsitoElenco::Mancante:
      case EsitoElenco::NonValido:
        AttenzioneTradotta(FileDanneggiatoDescritto(errore));
        return;
    }
    Sessione.NumeroSchede = static_cast<int>(elenco.size());
    for (int j = 1; j <= Sessione.NumeroSchede; ++j)
      Sessione.ElencoSchede[static_cast<std::size_t>(j)] = elenco.at(j - 1);
  }
  if (l.fermaSeVuoto && Sessione.NumeroSchede <= 0) return;
  // What works on the clusters needs a clustering result; without one the user is told so.
  if (l.richiedeDat) {
    const QString risultato = FileDellaSessione(QStringLiteral(".dat"));
    if (!plat::EntryExists(risultato)) {
      AvvisoSenzaRisultatoCluster(risultato);
      return;
    }
  }

  FilePassaggioDati d;
  d.Modo = l.modo;
  d.TerzaVuota = l.terzaVuota;
  for (int j = 1; j <= Sessione.NumeroSchede; ++j) d.Schede << Sessione.ElencoSchede[static_cast<std::size_t>(j)];
  d.NomeSessione = Sessione.NomeSessione;
  if (!ScriviFilePassaggio(FilePassaggio(), d)) {
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(FilePassaggio()));
    return;
  }
  const QString grafica = FileDellaSessione(QStringLiteral(".GRA"));
  if (!CreaOpzioniGrafichePredefinite(grafica))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"), DescrizioneFile(grafica));

  if (l.disabilitaMenu) DisabilitaMenu();
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  figlioInCorso_ = true;
  // The wait runs the window's events (painting, and the menus while MIRVANE runs) without spinning a core and
  // without taking actions of this program's script.
  QString errore;
  int codice = 0;
  const bool avviato = plat::RunChildAndWait(QString::fromLatin1(l.programma), {}, &errore, &codice);
  figlioInCorso_ = false;
  QGuiApplication::restoreOverrideCursor();
  if (l.disabilitaMenu) AbilitaMenu();
  const QString nome = QString::fromLatin1(l.programma).section(QLatin1Char('.'), 0, 0);
  if (!avviato) Attenzione(QStringLiteral("Impossibile avviare il programma:"), nome);
  // A child killed or crashed mid-run may have left its results unfinished: the user is told.
  else if (codice == plat::kChildCrashed) Attenzione(QStringLiteral("Il programma e' terminato in modo anomalo:"), nome);
  activateWindow();
  setFocus();
}

// Quick print of both reports.
void menu1::StampaRapidaScheda_Click() { TabulatoScheda(kStampaRapida); }

void menu1::StampaRapidaTabulati_Click() {
  if (SenzaSessione(Guardia::Output)) return;
  ProduciTabulati(kStampaRapida);
}
