#include "main/dialogs/piccoli.h"

#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/maschera.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <cmath>

ModuloScelte Scelte;

namespace {

using plat::TwipsToPixels;

void Posiziona(QWidget* w, int sinistra, int alto, int larghezza, int altezza) {
  w->setGeometry(TwipsToPixels(sinistra), TwipsToPixels(alto), TwipsToPixels(larghezza), TwipsToPixels(altezza));
}

void DimensioneCliente(QWidget* w, int larghezza, int altezza) {
  w->setFixedSize(TwipsToPixels(larghezza), TwipsToPixels(altezza));
}

void Centra(QWidget* w) {
  const QScreen* schermo = QGuiApplication::primaryScreen();
  if (!schermo) return;
  const QRect area = schermo->geometry();
  w->move(area.x() + (area.width() - w->width()) / 2, area.y() + (area.height() - w->height()) / 2);
}

QPushButton* Bottone(QWidget* genitore, const QString& nome, const QString& testo) {
  auto* b = new QPushButton(Traduci(testo), genitore);
  b->setObjectName(nome);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------

edilineform::edilineform(QWidget* parent) : plat::Form(QStringLiteral("edilineform"), parent) {
  DimensioneCliente(this, 4830, 2415);
  for (int i = 0; i < 3; ++i) {
    Label[i] = new QLabel(this);
    Label[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    Posiziona(Label[i], 240, 240 + 480 * i, 3480 - 240 - 60, 375);
    Text[i] = new QLineEdit(this);
    Text[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    Posiziona(Text[i], 3480, 240 + 480 * i, 1215, 375);
  }
  Label[3] = new QLabel(this);
  Label[3]->setObjectName(QStringLiteral("Label4"));
  Label[3]->hide();
  Command1 = Bottone(this, QStringLiteral("Command1"), QStringLiteral("&Conferma"));
  Command1->setDefault(true);  // Enter confirms, Escape cancels
  Posiziona(Command1, 120, 1920, 1215, 375);
  Command2 = Bottone(this, QStringLiteral("Command2"), QStringLiteral("&Annulla"));
  Posiziona(Command2, 3480, 1920, 1215, 375);
  Command3 = Bottone(this, QStringLiteral("Command3"), QStringLiteral("&Help"));
  Command3->hide();
  connect(Command1, &QPushButton::clicked, this, [this] {
    if (!ValoriNegliIntervalli()) return;
    Confermato = true;
    hide();
  });
  connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
  connect(Command3, &QPushButton::clicked, this, [this] {
    const QString aiuto = Label[3]->text();
    const qsizetype barra = aiuto.indexOf(QLatin1Char('|'));
    plat::MsgBox(barra < 0 ? QString() : aiuto.mid(barra + 1), plat::vbOKOnly, barra < 0 ? aiuto : aiuto.left(barra));
  });
  Centra(this);
}

bool edilineform::ValoriNegliIntervalli() {
  for (std::size_t i = 0; i < Intervalli.size(); ++i) {
    if (Text[i]->isHidden()) continue;
    // A character the file cannot hold (a letter typed on another keyboard, a control character pasted in) is
    // refused as every field refuses it; a text of characters it can hold that is no number counts as 0.
    QString messaggio;
    if (const auto carattere = plat::CharacterALineCannotHold(Text[i]->text())) {
      messaggio = MessaggioCarattere(*carattere);
    } else if (Intervalli[i]) {
      const auto [minimo, massimo] = *Intervalli[i];
      const double v = plat::Val(Text[i]->text());
      if (!std::isfinite(v) || v < minimo || v > massimo) messaggio = MessaggioIntervallo(minimo, massimo);
    }
    if (messaggio.isEmpty()) continue;
    plat::MsgBox(messaggio, plat::vbOKOnly | plat::vbCritical, Label[i]->text());
    Text[i]->setFocus();
    Text[i]->selectAll();
    return false;
  }
  return true;
}

void EditaLinea(int n, const QString& titolo, const QString& etichetta1, const QString& etichetta2,
                const QString& etichetta3, const QString& aiuto, QString& valore1, QString& valore2,
                QString& valore3, const IntervalliLinea& intervalli) {
  QPointer<edilineform> f = new edilineform();
  f->Intervalli = intervalli;
  ImpostaContestoAiuto(f, ContestoAiuto(aiuto));
  f->setWindowTitle(titolo);
  f->Label[3]->setText(aiuto);
  const QString etichette[3] = {etichetta1, etichetta2, etichetta3};
  QString* valori[3] = {&valore1, &valore2, &valore3};
  for (int i = 0; i < 3; ++i) {
    f->Label[i]->setText(etichette[i]);
    f->Text[i]->setText(*valori[i]);
    if (const auto& intervallo = intervalli[static_cast<std::size_t>(i)])
      plat::SetWidestValue(f->Text[i], plat::WidestNumber(intervallo->first, intervallo->second));
  }
  if (n < 3) {
    f->Label[2]->hide();
    f->Text[2]->hide();
  }
  if (n < 2) {
    f->Label[1]->hide();
    f->Text[1]->hide();
  }
  plat::ShowModal(f);
  if (f && f->Confermato && !f->Unloaded())
    for (int i = 0; i < 3; ++i) *valori[i] = f->Text[i]->text();
  if (f) f->Unload();
}

// ---------------------------------------------------------------------------------------------------------------

SelezionaElenco::SelezionaElenco(QWidget* parent) : plat::Form(QStringLiteral("SelezionaElenco"), parent) {
  DimensioneCliente(this, 3990, 4605);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  Posiziona(List1, 120, 120, 3735, 3735);
  Command1 = Bottone(this, QStringLiteral("Command1"), QStringLiteral("&Conferma"));
  Command1->setDefault(true);  // Enter confirms, Escape cancels
  Posiziona(Command1, 120, 3960, 1215, 495);
  Command2 = Bottone(this, QStringLiteral("Command2"), QStringLiteral("&Annulla"));
  Posiziona(Command2, 2640, 3960, 1215, 495);
  connect(Command1, &QPushButton::clicked, this, [this] { Scegli(true); });
  connect(Command2, &QPushButton::clicked, this, [this] { Scegli(false); });
  connect(List1, &QListWidget::itemDoubleClicked, this, [this] { Scegli(true); });
}

void SelezionaElenco::Scegli(bool conferma) {
  if (risposto_) return;
  risposto_ = true;
  int scelta = 0;
  if (conferma) {
    const QList<QListWidgetItem*> scelti = List1->selectedItems();
    if (!scelti.isEmpty()) scelta = List1->row(scelti.first()) + 1;
  }
  Scelte.SceltaElenco = scelta;
  Unload();
}

void SelezionaElenco::Form_Unload() {
  // Closing the window by its close button counts as "&Annulla".
  if (!risposto_) Scelte.SceltaElenco = 0;
  risposto_ = true;
}

int ScegliDaElenco(const QStringList& elenco, int n) {
  auto* f = new SelezionaElenco();
  ImpostaContestoAiuto(f, ContestoAiuto(40));
  f->setWindowTitle(elenco.value(0));
  for (int i = 1; i <= n && i < elenco.size(); ++i) f->List1->addItem(elenco.at(i));
  Centra(f);
  plat::ShowModal(f);
  return Scelte.SceltaElenco;
}

// ---------------------------------------------------------------------------------------------------------------

EdilineCeckBox::EdilineCeckBox(int caselle, QWidget* parent) : plat::Form(QStringLiteral("EdilineCeckBox"), parent) {
  constexpr int h = kAltezzaCasella;
  constexpr int larghezza = 7140;
  DimensioneCliente(this, larghezza, 1245 + 14 * h);
  for (int i = 0; i < std::max(caselle, 1); ++i) {
    auto* c = new QCheckBox(this);
    c->setObjectName(QStringLiteral("Check1(%1)").arg(i));
    if (i < 15) Posiziona(c, 120, 240 + i * h, 3135, h);
    else Posiziona(c, larghezza / 2 + 120, 240 + (i - 15) * h, 3135, h);
    Check1.push_back(c);
  }
  Command1 = Bottone(this, QStringLiteral("Command1"), QStringLiteral("&Conferma"));
  Command1->setDefault(true);  // Enter confirms, Escape cancels
  Posiziona(Command1, 120, 720 + 14 * h, 1215, 375);
  Command2 = Bottone(this, QStringLiteral("Command2"), QStringLiteral("&Annulla"));
  Posiziona(Command2, 1440, 720 + 14 * h, 1215, 375);
  connect(Command1, &QPushButton::clicked, this, [this] {
    Confermato = true;
    hide();
  });
  connect(Command2, &QPushButton::clicked, this, [this] { hide(); });
}

void ScegliConCaselle(const QString& titolo, int n, const std::vector<QString>& voci, std::vector<double>& stati,
                      int aiuto) {
  const int pagine = (std::max(n, 0) + 29) / 30;
  for (int p = 1; p <= pagine; ++p) {
    const int primo = 30 * (p - 1) + 1;
    const int m = std::min(n - 30 * (p - 1), 30);
    QPointer<EdilineCeckBox> f = new EdilineCeckBox(m);
    ImpostaContestoAiuto(f, ContestoAiuto(aiuto));
    f->setWindowTitle(titolo);
    for (int i = 0; i < m; ++i) {
      const auto k = static_cast<std::size_t>(primo + i);
      f->Check1[static_cast<std::size_t>(i)]->setText(k < voci.size() ? voci[k] : QString());
      f->Check1[static_cast<std::size_t>(i)]->setChecked(k < stati.size() && stati[k] == 1);
    }
    Centra(f);
    plat::ShowModal(f);
    const bool confermato = f && f->Confermato && !f->Unloaded();
    if (confermato) {
      for (int i = 0; i < m; ++i) {
        const auto k = static_cast<std::size_t>(primo + i);
        if (k < stati.size()) stati[k] = f->Check1[static_cast<std::size_t>(i)]->isChecked() ? 1 : 2;
      }
    }
    if (f) f->Unload();
    if (!confermato) return;
  }
}
