#include "main/reports/confstampa.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "main/reports/stampa.h"
#include "main/session/sessione.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <cmath>
#include <limits>

ModuloConfStampa ImpostazioniStampa;

namespace {

using plat::TwipsToPixels;

void Posiziona(QWidget* w, int sinistra, int alto, int larghezza, int altezza) {
  w->setGeometry(TwipsToPixels(sinistra), TwipsToPixels(alto), TwipsToPixels(larghezza), TwipsToPixels(altezza));
}

// A whole number of the 16-bit range from a value, rounded halves to even; false when it lies outside.
bool Intero16(double v, int& risultato) {
  if (!std::isfinite(v)) return false;
  const double r = std::nearbyint(v);
  if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max()) return false;
  risultato = static_cast<int>(r);
  return true;
}

const char* const kEtichette[9] = {"Margine sinistro (car.)", "Margine superiore (righe)",
                                   "Margine inferiore (righe)", "Lunghezza pagina (righe)",
                                   "Altezza caratteri (punti)", "Intestazione",
                                   "Pie' di pagina", "Set di caratteri",
                                   "Offset superiore (righe)"};

}  // namespace

QString FileStampa() { return plat::JoinPath(plat::ProgramFolder(), QStringLiteral("printer.cfg")); }

EsitoFileStampa LeggiFileStampa(const QString& percorso, ImpostazioniFileStampa& impostazioni, int* riga) {
  plat::SeqReader r;
  int linea = 0;
  const auto guasto = [&] {
    if (riga) *riga = linea;
    return EsitoFileStampa::NonValido;
  };
  if (!r.Open(percorso)) {
    if (r.Missing()) return EsitoFileStampa::Mancante;
    linea = r.FaultLine();
    return guasto();
  }
  ImpostazioniFileStampa s;
  for (int* numero : {&s.MargineSinistro, &s.MargineSuperiore, &s.MargineInferiore, &s.LunghezzaPagina,
                      &s.AltezzaCaratteri}) {
    double v = 0;
    linea = r.LineNumber();
    if (!dati::LeggiNumeroRiga(r, v) || !Intero16(v, *numero)) return guasto();
  }
  for (QString* testo : {&s.Intestazione, &s.PiePagina, &s.NomeFont}) {
    linea = r.LineNumber();
    if (!r.ReadLine(*testo)) return guasto();
  }
  s.OffsetSuperiore = 0;
  if (!r.AtEnd()) {
    linea = r.LineNumber();
    if (!dati::LeggiNumeroRiga(r, s.OffsetSuperiore)) return guasto();
  }
  if (!dati::FineSostanziale(r, &linea)) return guasto();
  impostazioni = s;
  return EsitoFileStampa::Letto;
}

bool ScriviFileStampa(const QString& percorso, const ImpostazioniFileStampa& s) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int numero : {s.MargineSinistro, s.MargineSuperiore, s.MargineInferiore, s.LunghezzaPagina,
                     s.AltezzaCaratteri})
    w.WriteLine(NumeroTesto(numero));
  w.WriteLine(s.Intestazione);
  w.WriteLine(s.PiePagina);
  w.WriteLine(s.NomeFont);
  w.WriteLine(NumeroTesto(s.OffsetSuperiore));
  return w.Close();
}

int VoceFont(const QStringList& fonts, const QString& nome) {
  static const struct {
    const char* nome;
    const char* gemello;
  } kGemelli[] = {{"Arial", "Liberation Sans"},
                  {"Times New Roman", "Liberation Serif"},
                  {"Courier New", "Liberation Mono"}};
  for (int i = 0; i < fonts.size(); ++i)
    if (fonts.at(i).compare(nome, Qt::CaseInsensitive) == 0) return i;
  for (const auto& g : kGemelli)
    if (nome.compare(QLatin1String(g.nome), Qt::CaseInsensitive) == 0)
      for (int i = 0; i < fonts.size(); ++i)
        if (fonts.at(i).compare(QLatin1String(g.gemello), Qt::CaseInsensitive) == 0) return i;
  return -1;
}

ConfStampa::ConfStampa(QWidget* parent) : plat::Form(QStringLiteral("ConfStampa"), parent) {
  setFixedSize(TwipsToPixels(6600), TwipsToPixels(6420));
  for (int i = 0; i < 9; ++i) {
    Label[static_cast<std::size_t>(i)] = new QLabel(this);
    Label[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    Posiziona(Label[static_cast<std::size_t>(i)], 240, 240 + 480 * (i < 8 ? i : 9), 2760, 375);
  }
  for (int i = 0; i < 8; ++i) {
    Text[static_cast<std::size_t>(i)] = new QLineEdit(this);
    Text[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
  }
  // The five whole numbers of the 16-bit range.
  for (int i = 0; i < 5; ++i) plat::SetWidestValue(Text[static_cast<std::size_t>(i)], QStringLiteral("-32768"));
  // Text1..Text7 beside the labels 1 to 7; Text8, the top offset, beside Label9, under the font list.
  for (int i = 0; i < 5; ++i) Posiziona(Text[static_cast<std::size_t>(i)], 3120, 240 + 480 * i, 1215, 375);
  Posiziona(Text[5], 3120, 240 + 480 * 5, 3240, 375);
  Posiziona(Text[6], 3120, 240 + 480 * 6, 3240, 375);
  Posiziona(Text[7], 3120, 240 + 480 * 9, 1215, 375);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  Posiziona(List1, 3120, 240 + 480 * 7, 3240, 855);
  auto bottone = [this](const char* nome, const char* testo, int sinistra) {
    auto* b = new QPushButton(this);
    b->setObjectName(QString::fromLatin1(nome));
    b->setText(QString::fromLatin1(testo));
    b->setAutoDefault(false);
    Posiziona(b, sinistra, 5520, 1815, 495);
    return b;
  };
  Command1 = bottone("Command1", "&Imposta", 240);
  Command2 = bottone("Command2", "&Stampa", 2400);
  Command3 = bottone("Command3", "&Annulla", 4545);
  Command2->setDefault(true);
  setWindowTitle(QStringLiteral("Impostazioni di stampa"));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  Form_Load();
}

void ConfStampa::Form_Load() {
  setWindowTitle(Traduci(windowTitle()));
  for (QPushButton* b : {Command1, Command2, Command3}) b->setText(Traduci(b->text()));
  for (int i = 0; i < 9; ++i) Label[static_cast<std::size_t>(i)]->setText(Traduci(QString::fromLatin1(kEtichette[i])));

  ImpostazioniFileStampa s;
  int riga = 0;
  if (LeggiFileStampa(FileStampa(), s, &riga) == EsitoFileStampa::NonValido) {
    // A damaged file is not taken in part: the form shows the defaults, and saving writes a whole file again.
    AttenzioneTradotta(FileDanneggiato(FileStampa(), riga));
    s = ImpostazioniFileStampa();
  }
  ImpostazioniStampa.NomeFont = s.NomeFont;

  // The fonts this machine has; a stored font it lacks falls back to its metric twin, then to Courier New (or
  // its twin), then to the first font.
  QStringList fonts;
  for (const QString& famiglia : QFontDatabase::families())
    if (!plat::CharacterALineCannotHold(famiglia)) fonts << famiglia;  // only the names the file can hold
  List1->addItems(fonts);
  int voce = VoceFont(fonts, s.NomeFont);
  if (voce < 0) voce = VoceFont(fonts, QStringLiteral("Courier New"));
  if (voce < 0 && !fonts.isEmpty()) voce = 0;
  List1->setCurrentRow(voce);

  const int numeri[5] = {s.MargineSinistro, s.MargineSuperiore, s.MargineInferiore, s.LunghezzaPagina,
                         s.AltezzaCaratteri};
  for (int i = 0; i < 5; ++i) Text[static_cast<std::size_t>(i)]->setText(NumeroTesto(numeri[i]));
  Text[5]->setText(s.Intestazione);
  Text[6]->setText(s.PiePagina);
  Text[7]->setText(NumeroTesto(s.OffsetSuperiore));
}

void ConfStampa::Command1_Click() { ConfiguraStampante(Traduci(QStringLiteral("Impostazioni di stampa"))); }

void ConfStampa::Command2_Click() {
  ImpostazioniFileStampa s;
  if (!LeggiCampi(s)) return;
  salva_ = true;
  Unload();
}

void ConfStampa::Command3_Click() {
  salva_ = false;
  Unload();
}

bool ConfStampa::LeggiCampi(ImpostazioniFileStampa& s) {
  int* numeri[5] = {&s.MargineSinistro, &s.MargineSuperiore, &s.MargineInferiore, &s.LunghezzaPagina,
                    &s.AltezzaCaratteri};
  // A character the file cannot hold is refused as every field refuses it: in the header and the footer, lines of
  // the file, and in a number's field before a number is taken from it (a text of characters the file can hold
  // that is no number counts as 0).
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (const auto carattere = plat::CharacterALineCannotHold(Text[i]->text())) {
      plat::MsgBox(MessaggioCarattere(*carattere), plat::vbOKOnly + plat::vbCritical, Label[i]->text());
      Text[i]->setFocus();
      return false;
    }
  }
  for (int i = 0; i < 5; ++i) {
    if (!Intero16(plat::Val(Text[static_cast<std::size_t>(i)]->text()), *numeri[i])) {
      Attenzione(QStringLiteral("Il valore deve essere un numero intero da -32768 a 32767:"),
                 Label[static_cast<std::size_t>(i)]->text());
      Text[static_cast<std::size_t>(i)]->setFocus();
      return false;
    }
  }
  s.Intestazione = Text[5]->text();
  s.PiePagina = Text[6]->text();
  // No font selected (a machine without fonts): the stored name stays as it was.
  s.NomeFont = List1->currentItem() ? List1->currentItem()->text() : ImpostazioniStampa.NomeFont;
  s.OffsetSuperiore = plat::Val(Text[7]->text());
  if (!std::isfinite(s.OffsetSuperiore)) s.OffsetSuperiore = 0;
  return true;
}

void ConfStampa::Form_Unload() {
  // Only "&Stampa" saves: "&Annulla" and the window's close button cancel.
  ImpostazioniStampa.Annulla = !salva_;
  if (!salva_) return;
  ImpostazioniFileStampa s;
  if (!LeggiCampi(s)) return;
  ImpostazioniStampa.NomeFont = s.NomeFont;
  if (!ScriviFileStampa(FileStampa(), s))
    Attenzione(QStringLiteral("Il file seguente non puo' essere scritto:"),
               DescrizioneFile(plat::ResolveForWrite(FileStampa())));
}

void MostraConfStampa() {
  QPointer<ConfStampa> f = new ConfStampa();
  plat::ShowModal(f);
  if (f && !f->Unloaded()) f->Unload();
}
