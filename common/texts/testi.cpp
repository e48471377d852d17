#include "common/texts/testi.h"

#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>

ModuloTesti Testi;

void AzzeraTesti(int massimo) {
  Testi.MassimoTesti = massimo;
  Testi.NumeroTesti = 0;
  // Row 0 only: the rows come with the texts (room is kept for all, touched only as they come).
  Testi.TabellaTesti.assign(1, {});
  Testi.TabellaTesti.reserve(static_cast<std::size_t>(massimo) + 1);
  Testi.ChiaviMaiuscole.clear();
}

bool CaricaTesti(const QString& percorso, QString* errore) {
  plat::SeqReader file;
  if (!file.Open(percorso)) {
    // No language is known yet: the message is in English. The file is named as it stands on disk.
    const QString nome = file.Path().isEmpty() ? percorso : file.Path();
    if (errore) {
      switch (file.Fault()) {
        case plat::ReadFault::NotAFile:
          *errore = QStringLiteral("In place of the text table %1 stands a folder, a pipe or a device.").arg(nome);
          break;
        case plat::ReadFault::TooLarge:
          *errore = QStringLiteral("The text table %1 is larger than any text table.").arg(nome);
          break;
        case plat::ReadFault::LineEnds:
          *errore = QStringLiteral("The text table %1 holds a CR that ends no line, on line %2.")
                        .arg(nome)
                        .arg(file.FaultLine());
          break;
        default: *errore = QStringLiteral("The text table %1 is missing or cannot be read.").arg(nome);
      }
    }
    return false;
  }
  // A line of blanks only, or none at all.
  auto vuota = [](QStringView r) { return plat::TrimBlanks(r).isEmpty(); };
  // True when only blank lines are left: they end the table and are no record. The rest is looked through only
  // when the next line is blank.
  auto soloRigheVuote = [&] {
    plat::SeqReader resto = file;
    QStringView r;
    while (resto.ReadLineView(r))
      if (!vuota(r)) return false;
    return true;
  };
  auto prossimaVuota = [&] {
    plat::SeqReader prova = file;
    QStringView r;
    prova.ReadLineView(r);
    return vuota(r);
  };
  // A separator: dashes, and blanks around them only.
  auto separatore = [](QStringView r) {
    r = plat::TrimBlanks(r);
    return !r.isEmpty() && std::all_of(r.begin(), r.end(), [](QChar c) { return c == u'-'; });
  };
  while (!file.AtEnd() && !(prossimaVuota() && soloRigheVuote())) {
    const int riga = file.LineNumber();
    std::array<QString, 7> record;
    int letti = 0;
    for (int colonna = 1; colonna <= 6 && !file.AtEnd(); ++colonna) {
      file.ReadLine(record[colonna]);
      ++letti;
      if (!file.AtEnd()) {
        // The line after each text is a separator of dashes: without it every later text would slip into the
        // next language, and the separator itself would become a text.
        const int rigaSeparatore = file.LineNumber();
        QStringView linea;
        file.ReadLineView(linea);
        if (!separatore(linea)) {
          if (errore)
            *errore = QStringLiteral("The text table %1 has no separator line of dashes on line %2.")
                          .arg(file.Path())
                          .arg(rigaSeparatore);
          return false;
        }
      }
    }
    if (letti < 6) {
      bool vuoto = true;
      for (int c = 1; c <= letti; ++c) vuoto = vuoto && plat::TrimBlanks(record[c]).isEmpty();
      if (vuoto) break;  // blank lines at the end of the file
      if (errore)
        *errore = QStringLiteral("The text table %1 ends inside the record that begins on line %2: each text needs "
                                 "its six languages.")
                      .arg(file.Path())
                      .arg(riga);
      return false;
    }
    if (Testi.NumeroTesti >= Testi.MassimoTesti) {
      if (errore)
        *errore = QStringLiteral("The text tables hold more than %1 texts (%2, line %3).")
                      .arg(Testi.MassimoTesti)
                      .arg(file.Path())
                      .arg(riga);
      return false;
    }
    ++Testi.NumeroTesti;
    if (Testi.TabellaTesti.size() <= static_cast<std::size_t>(Testi.NumeroTesti))
      Testi.TabellaTesti.resize(static_cast<std::size_t>(Testi.NumeroTesti) + 1);
    Testi.TabellaTesti[Testi.NumeroTesti] = std::move(record);
  }
  return true;
}

void OrdinaTesti() {
  const int n = Testi.NumeroTesti;
  auto& t = Testi.TabellaTesti;
  std::vector<QString> chiavi(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) chiavi[i] = t[i][1].toUpper();
  // Keys that are all different have one sorted order, whichever sort finds it: the row numbers are sorted and
  // the rows moved once. Only where two keys are equal does the order of the shell sort matter (the lookup finds
  // the row it leaves first), and then it runs as it always did.
  std::vector<int> ordine(static_cast<std::size_t>(n));
  std::iota(ordine.begin(), ordine.end(), 1);
  std::sort(ordine.begin(), ordine.end(), [&](int a, int b) { return chiavi[a] < chiavi[b]; });
  bool diverse = true;
  for (int k = 1; k < n && diverse; ++k) diverse = chiavi[ordine[k - 1]] != chiavi[ordine[k]];
  if (diverse) {
    std::vector<std::array<QString, 7>> righe(t.size());
    std::vector<QString> ordinate(chiavi.size());
    for (std::size_t r = 0; r < t.size(); ++r)
      if (r == 0 || r > static_cast<std::size_t>(n)) righe[r] = std::move(t[r]);
    for (int k = 0; k < n; ++k) {
      righe[k + 1] = std::move(t[ordine[k]]);
      ordinate[k + 1] = std::move(chiavi[ordine[k]]);
    }
    t = std::move(righe);
    Testi.ChiaviMaiuscole = std::move(ordinate);
    return;
  }
  int passo = n / 2;
  while (passo > 0) {
    int limite = n - passo;
    int ultimo;
    do {
      ultimo = 0;
      for (int riga = 1; riga <= limite; ++riga) {
        if (chiavi[riga] > chiavi[riga + passo]) {
          std::swap(t[riga], t[riga + passo]);
          std::swap(chiavi[riga], chiavi[riga + passo]);
          ultimo = riga;
        }
      }
      limite = ultimo - passo;
    } while (ultimo != 0);
    passo /= 2;
  }
  Testi.ChiaviMaiuscole = std::move(chiavi);
}

namespace {

void AvvisoProva(const QString& testo, const QString& titolo) {
  if (Avvio.ModoProva) plat::MsgBox(testo, plat::vbOKOnly | plat::vbInformation, titolo);
}

// The row whose upper-cased key equals `chiave`, or 0.
int CercaRiga(const QString& chiave) {
  const int n = Testi.NumeroTesti;
  const auto& k = Testi.ChiaviMaiuscole;
  if (n < 1 || k.size() < static_cast<std::size_t>(n) + 1) return 0;
  int trovata = 0;
  if (k[1] == chiave) {
    trovata = 1;
  } else if (k[n] == chiave) {
    trovata = n;
  } else {
    int lo = 1, hi = n;
    while (hi - lo >= 2) {
      const int mid = (lo + hi) / 2;
      if (k[mid] == chiave) {
        trovata = mid;
        break;
      }
      if (chiave < k[mid]) hi = mid;
      else lo = mid;
    }
  }
  return trovata > 0 && k[trovata] == chiave ? trovata : 0;
}

}  // namespace

QString Traduci(const QString& testo) {
  const QString t = plat::TrimBlanks(testo);
  if (Avvio.NumeroLingua == 1) return t;
  if (Testi.RegolaParentesi && testo.startsWith(QLatin1Char('[')) && testo.endsWith(QLatin1Char(']'))) return t;
  if (Avvio.NumeroLingua < 1 || Avvio.NumeroLingua > 6) return t;

  const int riga = CercaRiga(t.toUpper());
  if (riga == 0) {
    AvvisoProva(t, QStringLiteral("Testo Mancante"));
    return t;
  }
  const auto& record = Testi.TabellaTesti[riga];
  QString tr = record[Avvio.NumeroLingua];
  if (tr.startsWith(QLatin1Char('@'))) {
    tr = record[5];
    AvvisoProva(t, QStringLiteral("Testo Non Tradotto in ") + Avvio.CodiceLingua);
    if (tr.startsWith(QLatin1Char('@'))) {
      tr = t;
      AvvisoProva(t, QStringLiteral("Testo Non Tradotto Neanche in Inglese"));
    }
  }
  if (record[1] != t && !t.isEmpty()) {
    const QString primo = t.left(1);
    const QString resto = t.mid(1);
    if (primo == primo.toUpper() && resto == resto.toLower()) {
      tr = tr.left(1).toUpper() + tr.mid(1).toLower();
    } else if (primo == primo.toLower() && resto == resto.toLower()) {
      tr = tr.toLower();
    } else {
      tr = tr.toUpper();
    }
    if (t.toUpper() != QLatin1String("NO")) AvvisoProva(t + QLatin1Char('\r') + tr, QStringLiteral("Verificare maiuscole"));
  }
  return tr;
}

QString DescrizioneFile(const QString& percorso, int riga) {
  if (percorso.isEmpty()) return QString();
  const QString completo = plat::ResolveForWrite(percorso);
  QString testo = plat::FileNamePart(completo);
  if (riga > 0)
    testo += QStringLiteral(", ") + Traduci(QStringLiteral("riga")) + QLatin1Char(' ') + QString::number(riga);
  const QString cartella = plat::FolderPart(completo);
  testo += QLatin1Char('\n') + Traduci(QStringLiteral("Cartella:")) + QLatin1Char(' ') +
           QDir::toNativeSeparators(cartella.isEmpty() ? QStringLiteral("/") : cartella);
  // A name where something else than a file stands is no missing or damaged file: the user is told what it is.
  // A file larger than any the suite writes is refused before it is read: the user is told so, with its size.
  struct stat s {};
  if (::stat(QFile::encodeName(completo).constData(), &s) == 0 && !S_ISREG(s.st_mode))
    testo += QLatin1Char('\n') +
             Traduci(QStringLiteral("Al nome non si trova un file, ma una cartella, una pipe o un dispositivo."));
  else if (riga == 0 && S_ISREG(s.st_mode) && s.st_size > plat::kLargestFileRead)
    testo += QLatin1Char('\n') + Traduci(QStringLiteral("Il file e' troppo grande:")) + QLatin1Char(' ') +
             QString::number(static_cast<qint64>(s.st_size)) + QStringLiteral(" > ") +
             QString::number(plat::kLargestFileRead);
  return testo;
}

QString FileDanneggiato(const QString& percorso, int riga) {
  return FileDanneggiatoDescritto(DescrizioneFile(percorso, riga));
}

QString FileDanneggiatoDescritto(const QString& descrizione) {
  // A file refused for its size is not damaged: the line of its size, which the description ends with, leads the
  // message in place of the damage.
  const QString grande = QLatin1Char('\n') + Traduci(QStringLiteral("Il file e' troppo grande:")) + QLatin1Char(' ');
  const qsizetype dove = descrizione.lastIndexOf(grande);
  if (dove >= 0 && !descrizione.mid(dove + 1).contains(QLatin1Char('\n')))
    return descrizione.mid(dove + 1) + QLatin1Char('\n') + descrizione.left(dove);
  const QString testo = Traduci(QStringLiteral("Il file e' incompleto o danneggiato:"));
  return descrizione.isEmpty() ? testo : testo + QLatin1Char('\n') + descrizione;
}

QString DescrizioneCarattere(char32_t c) {
  const QString codice = QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return codice;
  return QLatin1Char('"') + QString::fromUcs4(&c, 1) + QStringLiteral("\" (") + codice + QLatin1Char(')');
}

QString MessaggioCarattere(char32_t c) {
  return Traduci(QStringLiteral("Il carattere seguente non puo' essere scritto nel file:")) + QLatin1Char('\r') +
         DescrizioneCarattere(c);
}
