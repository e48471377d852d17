#include "main/dialogs/maschera.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/testi.h"
#include "main/dialogs/definizioni.h"

#include <algorithm>
#include <cmath>

StatoMaschera MascheraCorrente;

namespace {
std::array<FormMaschera, 3>& Forms() {
  static std::array<FormMaschera, 3> forms;
  return forms;
}
// The registered form of the current kind, or nullptr.
FormMaschera* FormCorrente() {
  const double tipo = MascheraCorrente.TipoMaschera;
  if (tipo == 1) return &Forms()[1];
  if (tipo == 2 || tipo == 3 || tipo == 4) return &Forms()[2];
  return nullptr;
}
}  // namespace

void RegistraFormMaschera(int tipo, FormMaschera form) {
  if (tipo == 1 || tipo == 2) Forms()[static_cast<std::size_t>(tipo)] = std::move(form);
}

std::vector<QString>& ValoriTestoMaschera::Valori() const {
  if (valori_.empty()) valori_.resize(kMassimoValoriTesto + 1);
  return valori_;
}

void ImpostaMaschera(int, int, int n) {
  StatoMaschera& m = MascheraCorrente;
  const ModuloDefinizioni& d = DefinizioniMaschere;
  if (n < 1 || n > kMassimoDefinizioni) {
    m.NumeroMaschera = n;
    m.TipoMaschera = 0;
    return;
  }
  const auto u = static_cast<std::size_t>(n);
  m.NumeroMaschera = n;
  m.CodiciColonne = {};
  m.LarghezzeColonne = {};
  m.RigheVuoteMantenute = false;
  m.CampiObbligatori = {};
  m.CampiRifiutati = {};
  m.CelleRifiutate.clear();
  m.TipoMaschera = d.TipoDefinizione[u];
  m.TitoloMaschera = d.TitoloDefinizione[u];
  const int s = d.InizioSceltaDefinizione[u];
  const int c = d.InizioCampiDefinizione[u];
  const int campi = d.InizioCampiDefinizione[u + 1] - c;
  auto copiaCampo = [&](int j) {
    const auto k = static_cast<std::size_t>(c + j);
    const auto v = static_cast<std::size_t>(j);
    m.FormatiCampi[v] = d.FormatoDefinizione[k];
    m.MinimiCampi[v] = d.MinimoDefinizione[k];
    m.MassimiCampi[v] = d.MassimoDefinizione[k];
    m.AiutiCampi[v] = d.AiutoDefinizione[k];
  };
  if (m.TipoMaschera == 1 && campi >= 0 && campi <= 25) {
    const int a = d.InizioSceltaDefinizione[u + 1] - s;
    m.NumeroCampiScelta = a;
    for (int j = 0; j < a; ++j) {
      m.ElenchiScelta[static_cast<std::size_t>(j)] = d.RigheSceltaDefinizione[static_cast<std::size_t>(s + j)];
      m.ValoriNumerici[static_cast<std::size_t>(j)] = 1;
      m.SceltaFuoriElenco[static_cast<std::size_t>(j)] = false;
    }
    m.NumeroCampi = campi;
    m.NumeroCampiTesto = campi - a;
    for (int j = 0; j < campi; ++j) {
      m.EtichetteCampi[static_cast<std::size_t>(j)] = d.EtichettaDefinizione[static_cast<std::size_t>(c + j)];
      copiaCampo(j);
    }
    m.AiutiCampi[static_cast<std::size_t>(campi)] = d.RigaFinaleDefinizione[u];
  } else if ((m.TipoMaschera == 2 || m.TipoMaschera == 3 || m.TipoMaschera == 4) && campi >= 1 && campi <= 16) {
    m.UltimaColonna = static_cast<short>(campi - 1);
    for (int j = 0; j < campi; ++j) {
      m.IntestazioniColonne[static_cast<std::size_t>(j)] = d.EtichettaDefinizione[static_cast<std::size_t>(c + j)];
      copiaCampo(j);
    }
    m.AiutiCampi[static_cast<std::size_t>(campi)] = d.RigaFinaleDefinizione[u];
  }
  const int e = d.InizioSecondoElencoDefinizione[u];
  m.NumeroSecondoElenco = std::clamp(d.InizioSecondoElencoDefinizione[u + 1] - e, 0, 6);
  for (int j = 0; j < m.NumeroSecondoElenco; ++j)
    m.SecondoElenco[static_cast<std::size_t>(j)] = d.SecondoElencoDefinizione[static_cast<std::size_t>(e + j)];
}

void LimitaCampoNumerico(std::size_t f, double minimo, double massimo) {
  StatoMaschera& m = MascheraCorrente;
  if (f >= m.MinimiCampi.size()) return;
  // A bound of the definition counts only where it is narrower (a NaN bound never is).
  std::optional<double>& basso = m.MinimiCampi[f];
  std::optional<double>& alto = m.MassimiCampi[f];
  basso = basso && *basso > minimo ? *basso : minimo;
  alto = alto && *alto < massimo ? *alto : massimo;
  // The kind that the form checks as a number: in the field form the code "0"; in the grid a column neither of
  // text ("/") nor of codes (a help with "$$$").
  if (m.TipoMaschera == 1) {
    m.FormatiCampi[f] = QStringLiteral("0");
  } else {
    QString& formato = m.FormatiCampi[f];
    if (formato.startsWith(QLatin1Char('/'))) formato.remove(0, 1);
    QString& aiuto = m.AiutiCampi[f];
    const qsizetype codici = aiuto.indexOf(QLatin1String("$$$"));
    if (codici >= 0) aiuto.truncate(codici);
  }
}

QString EtichettaDefinizione(int n, int j) {
  const ModuloDefinizioni& d = DefinizioniMaschere;
  if (n < 1 || n > kMassimoDefinizioni || j < 0) return QString();
  const auto u = static_cast<std::size_t>(n);
  const int k = d.InizioCampiDefinizione[u] + j;
  if (k >= d.InizioCampiDefinizione[u + 1] || k < 0 || k >= static_cast<int>(d.EtichettaDefinizione.size()))
    return QString();
  return d.EtichettaDefinizione[static_cast<std::size_t>(k)];
}

ErroreNumero VerificaNumero(const QString& testo, const std::optional<double>& minimo,
                            const std::optional<double>& massimo, bool richiesto) {
  static const QString ammessi = QStringLiteral(" +-.1234567890eE");
  const QString pulito = plat::TrimBlanks(testo);
  if (pulito.contains(QLatin1Char(' '))) return ErroreNumero::Caratteri;
  for (const QChar c : testo)
    if (!ammessi.contains(c)) return ErroreNumero::Caratteri;
  if (pulito.isEmpty()) return richiesto ? ErroreNumero::Intervallo : ErroreNumero::Nessuno;
  // "1-2", ".", "+.", "e", "1e999": the characters of a number that are no number. The number is read as every
  // reader of the suite's files reads it back.
  double v = 0;
  if (!dati::NumeroDaRiga(pulito, v)) return ErroreNumero::Intervallo;
  if ((minimo && v < *minimo) || (massimo && v > *massimo)) return ErroreNumero::Intervallo;
  return ErroreNumero::Nessuno;
}

QString MessaggioIntervallo(const std::optional<double>& minimo, const std::optional<double>& massimo) {
  const auto limite = [](const std::optional<double>& v) {
    return v ? plat::TrimBlanks(plat::StrNumber(*v)) : QString();
  };
  return Traduci(QStringLiteral(
             "Vi e' un errore di digitazione del valore introdotto o il valore è fuori dal range previsto; deve infatti appartenere all'intervallo:")) +
         QStringLiteral("\r") + limite(minimo) + QStringLiteral("; ") + limite(massimo);
}

void ScriviCampo(int i, const QString& s) {
  StatoMaschera& m = MascheraCorrente;
  if (i >= 1 && i <= m.NumeroCampiScelta && i <= 25) {
    const double v = plat::Val(s);
    m.ValoriNumerici[static_cast<std::size_t>(i - 1)] = v > 0 ? v - 1 : 0;
    // The form tells the user when the number named no entry (0, negative, no number) instead of silently
    // showing the first one.
    m.SceltaFuoriElenco[static_cast<std::size_t>(i - 1)] = !(v >= 1);
    return;
  }
  const int k = i - m.NumeroCampiScelta - 1;
  if (k >= 0 && k <= kMassimoValoriTesto) m.ValoriTesto[static_cast<std::size_t>(k)] = s;
}

void LeggiCampo(int i, QString& s) {
  const StatoMaschera& m = MascheraCorrente;
  if (i >= 1 && i <= m.NumeroCampiScelta && i <= 25) {
    s = plat::TrimBlanks(plat::StrNumber(m.ValoriNumerici[static_cast<std::size_t>(i - 1)] + 1));
    return;
  }
  const int k = i - m.NumeroCampiScelta - 1;
  s = k >= 0 && k <= kMassimoValoriTesto ? m.ValoriTesto[static_cast<std::size_t>(k)] : QString();
}

void MostraMaschera(int) {
  // Until a form reports a confirmation the dialog counts as cancelled: closing the window by other means than
  // its buttons, or a definition that could not be read, never confirms.
  MascheraCorrente.AnnullaMaschera = -1;
  FormMaschera* form = FormCorrente();
  const int n = MascheraCorrente.NumeroMaschera;
  if (!form && n >= 1 && n <= kMassimoDefinizioni && MascheraCorrente.TipoMaschera == 0) {
    // A definition left out at the start (its message was given then) opens no form: the command says why.
    const QString& file = DefinizioniMaschere.FileDefinizione[static_cast<std::size_t>(n)];
    if (!file.isEmpty())
      plat::MsgBox(FileDanneggiato(file), plat::vbOKOnly, Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!"));
  }
  if (form && form->mostra) form->mostra();
  if (MascheraCorrente.AnnullaMaschera != 0) MascheraCorrente.AnnullaMaschera = -1;
}

void ChiudiMaschera() {
  if (FormMaschera* form = FormCorrente(); form && form->chiudi) form->chiudi();
  MascheraCorrente.ValoriTesto.Svuota();
}
