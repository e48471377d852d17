// The text export and the preview window.
#include "common/platform/application.h"
#include "tests/reports/fixture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>

namespace report_test {
namespace {

const char* const kVettore =
    "title\n#RESET 2,2,2,2,2,2,12,Arial\n#HEADER Program FRATTIX\n#FOOTER\n#STARTTABLE\na\tb\n#ENDTABLE\n  Primo\n"
    "#CENTER\nSecondo\n#ENDDOCUMENT\nafter\n";

using Testo = Report;

TEST_F(Testo, RenderingAndViewer) {
  WriteAnsi(t.D("r.tab"), kVettore);
  EsportaDocumentoTXT(t.D("r.tab"));
  EXPECT_EQ(ReadBytes(t.D("r.txt")), QByteArray("a\tb\r\nProgram FRATTIX\r\nPrimo\r\nSecondo\r\n\r\n"));
  EXPECT_EQ(FileAperto(), t.D("r.txt"));

  // A second export of the run: the header again before its first text line; a table-only document gets no header.
  WriteAnsi(t.D("s.tab"), "#RESET\nuno\n#ENDDOCUMENT\n#RESET\n#FOOTER fine\n#STARTLIST\nx\t1\n#ENDLIST\n#ENDDOCUMENT\n");
  EsportaDocumentoTXT(t.D("s.tab"));
  EXPECT_EQ(ReadBytes(t.D("s.txt")), QByteArray("x\t1\r\nfine\r\n"));  // the second document replaced the first
  EXPECT_EQ(FileAperto(), t.D("s.txt"));

  // Written in UTF-8; a document without "#ENDDOCUMENT" is finished at the end of the file.
  QFile f(t.D("u.tab"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("#RESET\r\nCoesione [kN/m\xB2] 20\xB0\r\n#STARTTABLE\r\n1\t2\r\n");
  f.close();
  EsportaDocumentoTXT(t.D("u.tab"));
  EXPECT_EQ(ReadBytes(t.D("u.txt")), QByteArray("Program FRATTIX\r\nCoesione [kN/m\xC2\xB2] 20\xC2\xB0\r\n1\t2\r\nfine\r\n"));
  EXPECT_EQ(FileAperto(), t.D("u.txt"));

  // No document, or one without "#RESET": nothing written, no viewer.
  EsportaDocumentoTXT(t.D("manca.tab"));
  WriteAnsi(t.D("v.tab"), "solo testo\n");
  EsportaDocumentoTXT(t.D("v.tab"));
  EXPECT_FALSE(QFile::exists(t.D("manca.txt")));
  EXPECT_FALSE(QFile::exists(t.D("v.txt")));
  EXPECT_EQ(FileAperto(), QString());
}

TEST_F(Testo, OverwriteQuestionAnsweredBothWays) {
  WriteAnsi(t.D("r.tab"), kVettore);
  WriteAnsi(t.D("r.txt"), "vecchio\n");
  {
    Scripted s(t, "answer Yes \"Volete sovrascrivere il file\"\n");
    EsportaDocumentoTXT(t.D("r.tab"));
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_TRUE(s.Log("msgbox").first().endsWith(
        QString("\tmsgbox\tATTENZIONE!\tVolete sovrascrivere il file\\n%1?").arg(t.D("r.txt"))));
  }
  EXPECT_TRUE(ReadBytes(t.D("r.txt")).startsWith("a\tb\r\n"));
  EXPECT_EQ(FileAperto(), t.D("r.txt"));
  // No: the name chosen in the dialog, its short extension replaced by ".txt".
  const struct {
    const char* scelto;
    const char* scritto;
  } casi[] = {{"out.dat", "out.txt"}, {"out", "out.txt"}, {"a.lunga", "a.lunga.txt"}};
  for (const auto& c : casi) {
    Scripted s(t, QString("answer No\nfile %1\n").arg(c.scelto));
    EsportaDocumentoTXT(t.D("r.tab"));
    EXPECT_TRUE(ReadBytes(t.D(c.scritto)).startsWith("a\tb\r\n")) << c.scelto;
    EXPECT_EQ(FileAperto(), t.D(c.scritto));
  }
  // No, and the dialog left without a name: nothing is written.
  WriteAnsi(t.D("r.txt"), "vecchio\n");
  {
    Scripted s(t, "answer No\ncancel\n");
    EsportaDocumentoTXT(t.D("r.tab"));
  }
  EXPECT_EQ(ReadAnsi(t.D("r.txt")), QString("vecchio\n"));
  EXPECT_EQ(EsportaTXT.NomeFileTXT, t.D("r.txt"));
  EXPECT_EQ(FileAperto(), QString());
}

TEST_F(Testo, ViewerRule) {
  WriteAnsi(t.D("r.tab"), kVettore);
  // editor.cfg naming a missing program and no xdg-open: the message, the file stays written.
  WriteAnsi(t.P("editor.cfg"), "x\n" + t.P("manca") + "\n");
  {
    Scripted s(t, "answer OK \"editor di testi per il formato TXT\"\n");
    EsportaDocumentoTXT(t.D("r.tab"));
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    // The file is named as it was written, with its folder.
    EXPECT_TRUE(s.Log("msgbox").first().endsWith("il file:\\nr.txt\\nCartella: " + t.Data()))
        << s.Log("msgbox").first().toStdString();
  }
  EXPECT_TRUE(QFile::exists(t.D("r.txt")));
  // A short editor.cfg (one line) or none: xdg-open from the PATH.
  // The record is written aside and moved into place, as the editor's is, so that it is never seen empty.
  WriteScript(t.Root() + "/bin/xdg-open",
              QString("#!/bin/sh\nprintf '%s' \"$1\" > %1.tmp && /bin/mv %1.tmp %1\n").arg(Aperto()));
  WriteAnsi(t.P("editor.cfg"), "solo una riga\n");
  {
    Scripted s(t, "answer Yes\n");
    EsportaDocumentoTXT(t.D("r.tab"));
  }
  EXPECT_EQ(FileAperto(), t.D("r.txt"));
  QFile::remove(t.P("editor.cfg"));
  {
    Scripted s(t, "answer Yes\n");
    EsportaDocumentoTXT(t.D("r.tab"));
  }
  EXPECT_EQ(FileAperto(), t.D("r.txt"));
}

// The program of editor.cfg: a bare name is found on the PATH, a path is taken as it stands; a program named that is
// not there, or cannot be started, is said before the message of no editor, and xdg-open, though it stands on the
// PATH, is never started in its place. A bare name was looked for in the current folder only, and a program named
// that was not found fell back to xdg-open without a word.
TEST_F(Testo, TheProgramOfEditorCfgIsFoundOnThePathOrSaidWhenItIsNot) {
  WriteAnsi(t.D("r.tab"), kVettore);
  QFile::rename(t.P("editore"), t.Root() + "/bin/editore-di-prova");
  WriteAnsi(t.P("editor.cfg"), "x\neditore-di-prova\n");
  {
    Scripted s(t, "");
    EsportaDocumentoTXT(t.D("r.tab"));
    EXPECT_TRUE(s.Log("msgbox").isEmpty()) << s.Log().join('\n').toStdString();
  }
  EXPECT_EQ(FileAperto(), t.D("r.txt"));
  WriteScript(t.Root() + "/bin/xdg-open", QString("#!/bin/sh\nprintf '%s' \"$1\" > %1.tmp && /bin/mv %1.tmp %1\n").arg(Aperto()));
  WriteAnsi(t.P("non-eseguibile"), "");
  const struct {
    QString riga;
    QString detto;
  } casi[] = {
      {"editore-mancante", "Non è stato trovato il programma indicato in editor.cfg:\\neditore-mancante\\n\\n"},
      {t.P("manca"), "Non è stato trovato il programma indicato in editor.cfg:\\n" + t.P("manca") + "\\n\\n"},
      {t.Program() + "/bin", "Non è stato trovato il programma indicato in editor.cfg:\\n" + t.Program() + "/bin\\n\\n"},
      {t.P("non-eseguibile"), "Impossibile avviare il programma:\\n" + t.P("non-eseguibile") + "\\n\\n"},
  };
  QDir(t.Program()).mkdir("bin");
  for (const auto& c : casi) {
    SCOPED_TRACE(c.riga.toStdString());
    WriteAnsi(t.P("editor.cfg"), "x\n" + c.riga + "\n");
    Scripted s(t, "answer Yes\nanswer OK \"editor di testi per il formato TXT\"\n");
    EsportaDocumentoTXT(t.D("r.tab"));
    ASSERT_EQ(s.Log("msgbox").size(), 2) << s.Log().join('\n').toStdString();
    const QString messaggio = s.Log("msgbox")[1];
    EXPECT_TRUE(messaggio.contains("\t" + c.detto + "Non è stato trovato un editor di testi per il formato TXT."))
        << messaggio.toStdString();
  }
  EXPECT_EQ(FileAperto(), QString());  // neither the program named nor xdg-open was started
}

// An editor.cfg that cannot be read (a folder at its name, CR line ends) is said, and the text opens in xdg-open as
// without one; it was taken for a missing file without a word.
TEST_F(Testo, AnEditorCfgThatCannotBeReadIsSaidAndXdgOpenServes) {
  WriteAnsi(t.D("r.tab"), kVettore);
  WriteScript(t.Root() + "/bin/xdg-open",
              QString("#!/bin/sh\nprintf '%s' \"$1\" > %1.tmp && /bin/mv %1.tmp %1\n").arg(Aperto()));
  for (const bool cartella : {true, false}) {
    SCOPED_TRACE(cartella);
    QFile::remove(t.P("editor.cfg"));
    if (cartella) {
      ASSERT_TRUE(QDir(t.Program()).mkdir("editor.cfg"));
    } else {
      QFile f(t.P("editor.cfg"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(QFile::encodeName("x\r" + t.P("editore") + "\r"));
    }
    QFile::remove(t.D("r.txt"));
    {
      Scripted s(t, "answer OK \"editor.cfg\"\n");
      EsportaDocumentoTXT(t.D("r.tab"));
      ASSERT_EQ(s.Log("msgbox").size(), 1);
      EXPECT_TRUE(s.Log("msgbox")[0].contains(cartella ? "incompleto o danneggiato:\\neditor.cfg\\n"
                                                       : "incompleto o danneggiato:\\neditor.cfg, riga 1\\n"))
          << s.Log("msgbox")[0].toStdString();
    }
    EXPECT_EQ(FileAperto(), t.D("r.txt"));
    QDir(t.P("editor.cfg")).removeRecursively();
  }
}

TEST_F(Testo, ATextFileThatCannotBeWrittenIsReported) {
  WriteAnsi(t.D("r.tab"), kVettore);
  QDir(t.Data()).mkdir("r.txt");  // a folder in the way
  {
    Scripted s(t, "answer OK \"non puo' essere scritto\"\n");
    EsportaDocumentoTXT(t.D("r.tab"));
    EXPECT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_EQ(FileAperto(), QString());
  }
  // A full disk: the old text file stays as it was.
  QDir(t.Data()).rmdir("r.txt");
  WriteAnsi(t.D("r.txt"), "vecchio\n");
  QStringList messaggi;
  {
    Scripted s(t, "answer Yes \"Volete sovrascrivere\"\nanswer OK \"non puo' essere scritto\"\n");
    testing_support::PipeLog log(t.Root() + "/log");
    testing_support::SetEnv("FRATTIX_UI_LOG", log.Path().toLocal8Bit());
    {
      testing_support::FileSizeLimit limite(16);
      EsportaDocumentoTXT(t.D("r.tab"));
    }
    messaggi = log.Lines().filter("\tmsgbox\t");
  }
  ASSERT_EQ(messaggi.size(), 2);
  EXPECT_TRUE(messaggi[1].contains("non puo' essere scritto")) << messaggi[1].toStdString();
  EXPECT_EQ(ReadAnsi(t.D("r.txt")), QString("vecchio\n"));
  EXPECT_EQ(FileAperto(), QString());
}

// ---------------------------------------------------------------------------------------------------------------

class Anteprima : public Report {
 protected:
  QStringList Voci() const {
    QStringList v;
    Form1* f = qobject_cast<Form1*>(plat::LoadedForm("Form1"));
    if (!f) return v;
    for (int i = 0; i < f->List1->count(); ++i) v << f->List1->item(i)->text();
    return v;
  }
  double W(const QString& s) const { return qobject_cast<Form1*>(plat::LoadedForm("Form1"))->LarghezzaTesto(s); }
  // The width the renderer centres in, in points.
  double Disponibile() const {
    return std::floor(qobject_cast<Form1*>(plat::LoadedForm("Form1"))->LarghezzaFinestra() - 72 / 2.54);
  }
  // True when the item holds blanks and then `testo`, the blanks bringing it to the centre.
  ::testing::AssertionResult Centrata(const QString& voce, const QString& testo) const {
    const QString spazi = voce.left(voce.size() - testo.size());
    if (!voce.endsWith(testo) || !spazi.trimmed().isEmpty())
      return ::testing::AssertionFailure() << voce.toStdString() << " is not blanks and " << testo.toStdString();
    const double x = (Disponibile() - W(testo)) / 2;
    if (W(spazi) < x || (!spazi.isEmpty() && W(spazi.left(spazi.size() - 1)) >= x))
      return ::testing::AssertionFailure() << "not centred: " << voce.toStdString();
    return ::testing::AssertionSuccess();
  }
  Scripted guardia{t, ""};
};

TEST_F(Anteprima, TitlesHeaderAndFooterAreCentred) {
  WriteAnsi(t.D("r.tab"),
            "#RESET 2,2,2,2,2,2,12,Arial\n#HEADER Program FRATTIX\n#FOOTER\n#CENTER\n#FONTSIZE 15\nRILIEVO\n"
            "#FONTSIZE 13\n#FONTITALIC TRUE\nsecondo titolo\n#FONTITALIC FALSE\n\n#ENDDOCUMENT\n");
  AnteprimaDocumento(t.D("r.tab"));
  const QStringList v = Voci();
  ASSERT_EQ(v.size(), 7) << v.join("|").toStdString();
  EXPECT_TRUE(Centrata(v[0], "Program FRATTIX"));
  EXPECT_EQ(v[1], QString());
  EXPECT_TRUE(Centrata(v[2], "RILIEVO"));
  EXPECT_TRUE(Centrata(v[3], "secondo titolo"));
  EXPECT_TRUE(Centrata(v[4], ""));  // the empty line, still centred: blanks
  EXPECT_FALSE(v[4].isEmpty());
  EXPECT_EQ(v[5], QString());
  EXPECT_TRUE(Centrata(v[6], ""));  // the empty footer

  // A second preview without a header of its own appends below, under the header of the first.
  WriteAnsi(t.D("s.tab"), "#RESET\nsinistra\n#ENDDOCUMENT\n");
  AnteprimaDocumento(t.D("s.tab"));
  const QStringList w = Voci();
  ASSERT_EQ(w.size(), 7 + 5);
  EXPECT_TRUE(Centrata(w[7], "Program FRATTIX"));
  EXPECT_EQ(w[9], QString("sinistra"));
}

TEST_F(Anteprima, ListsAndTablesLineUp) {
  WriteAnsi(t.D("r.tab"),
            QString::fromUtf8("#RESET\n#STARTLIST\nCoesione [kN/m²]\t25\nGamma roccia [kN/m³]\t270\n#ENDLIST\n"
                              "#CENTER\n#STARTTABLE\nN.\tValore\tF.S.\n1\t2.5\t12\n2\t10\t1.25\n30\t\tx\n#ENDTABLE\n"
                              "#ENDDOCUMENT\n"));
  AnteprimaDocumento(t.D("r.tab"));
  const QStringList v = Voci();
  ASSERT_EQ(v.size(), 2 + 2 + 4 + 2) << v.join("|").toStdString();
  const double u = 72 / 2.54;
  // The labels end in leader dots at the same width, the wider label's plus 0.5 cm; the values end together.
  const QString a = v[2], b = v[3];
  const qsizetype puntiA = a.lastIndexOf('.') + 1, puntiB = b.lastIndexOf('.') + 1;
  EXPECT_TRUE(a.startsWith(QString::fromUtf8("Coesione [kN/m²] ...")));
  EXPECT_TRUE(b.startsWith(QString::fromUtf8("Gamma roccia [kN/m³] .")));
  const double etichette = W(QString::fromUtf8("Gamma roccia [kN/m³]")) + 0.5 * u;
  EXPECT_GE(W(a.left(puntiA)), etichette);
  EXPECT_GE(W(b.left(puntiB)), etichette);
  EXPECT_LT(W(a.left(puntiA - 1)), etichette);
  EXPECT_NEAR(W(a), W(b), W(" "));
  EXPECT_TRUE(a.endsWith(" 25"));
  EXPECT_TRUE(b.endsWith(" 270"));
  // The table: right-aligned cells, so the points of a decimal-aligned column line up; empty cells stay empty.
  const QStringList righe = v.mid(4, 4);
  auto finoAlPunto = [&](const QString& riga, const QString& cella) {
    return W(riga.left(riga.indexOf(cella) + cella.indexOf('.')));
  };
  EXPECT_TRUE(righe[1].contains(" 2.5 ")) << righe[1].toStdString();
  EXPECT_TRUE(righe[2].contains(" 10.0 ")) << righe[2].toStdString();
  EXPECT_TRUE(righe[1].endsWith(" 12.00")) << righe[1].toStdString();
  EXPECT_TRUE(righe[2].endsWith(" 1.25")) << righe[2].toStdString();
  EXPECT_NEAR(finoAlPunto(righe[1], "2.5"), finoAlPunto(righe[2], "10.0"), 1.0);
  EXPECT_NEAR(finoAlPunto(righe[1], "12.00"), finoAlPunto(righe[2], "1.25"), 1.0);
  EXPECT_NEAR(W(righe[1]), W(righe[2]), W(" "));
  EXPECT_FALSE(righe[3].contains("0.00"));
  EXPECT_TRUE(righe[3].endsWith(" x"));
  // Centred: the table starts near (W - T) / 2.
  const double inizio = W(righe[0].left(righe[0].indexOf("N.")));
  EXPECT_GT(inizio, 0.25 * Disponibile());
}

// The table of the families of the results report, centred, on every screen: at a larger scale or font it is wider
// than the window, and then it starts at the left edge. Measured in the list's own font as the list draws it, every
// cell ends within one blank of the right edge of its column, whatever row it is in, and a gap stays between each
// column and the next.
TEST_F(Anteprima, TheColumnsStayUnderTheirHeadsOnEveryScreen) {
  if (!testing_support::OnOtherScreen()) {
    for (const testing_support::Screen& s : testing_support::kScreens) {
      if (!s.variable) continue;
      QString uscita;
      EXPECT_TRUE(testing_support::RunOnScreen(s, &uscita)) << s.name << "\n" << uscita.toStdString();
    }
  }
  const QStringList teste = {"N. Fam.", "Immers. [°]", "Inclinaz. [°]", "Apertura [mm]", "Frequenza [1/m]",
                             "Phi [°]", "Coesione [kN/m²]", "Spaziatura [m]", "Persistenza [m]"};
  QString documento = "#RESET\n#HEADER Program FRATTIX\n#CENTER\n#STARTTABLE\n" + teste.join('\t') + "\n";
  for (int r = 1; r <= 4; ++r)
    documento += QString("%1\t%2.0\t%3.0\t2.%4\t1.%5\t35.00\t20.00\t0.%6\t1%7.5\n")
                     .arg(r).arg(100 + 37 * r).arg(10 * r).arg(r).arg(40 + r).arg(r).arg(r);
  documento += "#ENDTABLE\n#ENDDOCUMENT\n";
  WriteAnsi(t.D("r.tab"), documento);
  AnteprimaDocumento(t.D("r.tab"));
  Form1* f = qobject_cast<Form1*>(plat::LoadedForm("Form1"));
  ASSERT_TRUE(f);
  const QFontMetricsF misure = f->List1->fontMetrics();
  const double spazio = misure.horizontalAdvance(' ');
  const QStringList v = Voci();
  ASSERT_EQ(v.size(), 2 + 5 + 2) << v.join("|").toStdString();
  // Where each cell of a row ends, in pixels of the list.
  const auto fini = [&](const QString& riga) {
    std::vector<double> fine;
    qsizetype da = 0;
    for (const QString& cella : riga.split(' ', Qt::SkipEmptyParts)) {
      da = riga.indexOf(cella, da) + cella.size();
      fine.push_back(misure.horizontalAdvance(riga.left(da)));
    }
    return fine;
  };
  // The heads hold blanks: the head row's cells are found one by one.
  std::vector<double> testa;
  qsizetype da = 0;
  for (const QString& cella : teste) {
    const qsizetype i = v[2].indexOf(cella, da);
    ASSERT_GE(i, 0) << v[2].toStdString();
    ASSERT_TRUE(i == 0 || v[2].at(i - 1) == ' ') << "heads run together: " << v[2].toStdString();
    if (!testa.empty()) {
      EXPECT_GT(misure.horizontalAdvance(v[2].left(i)) - testa.back(), 0.4 * f->logicalDpiX() / 2.54)
          << "no gap before " << cella.toStdString() << ": " << v[2].toStdString();
    }
    da = i + cella.size();
    testa.push_back(misure.horizontalAdvance(v[2].left(da)));
  }
  for (int r = 3; r <= 6; ++r) {
    const std::vector<double> fine = fini(v[r]);
    ASSERT_EQ(fine.size(), testa.size()) << v[r].toStdString();
    for (std::size_t c = 0; c < fine.size(); ++c)
      EXPECT_NEAR(fine[c], testa[c], spazio) << "column " << c << ": " << v[2].toStdString() << "\n" << v[r].toStdString();
  }
}

TEST(Riempimento, PaddingEndsWhateverTheFontMeasures) {
  const auto lunghezza = [](const QString& s) { return static_cast<double>(s.size()); };
  EXPECT_EQ(RiempiFinoA("ab", '.', "", 5, lunghezza), QString("ab..."));
  EXPECT_EQ(RiempiFinoA("", ' ', "xy", 5.5, lunghezza), QString("    "));
  EXPECT_EQ(RiempiFinoA("abcdef", ' ', "", 3, lunghezza), QString("abcdef"));
  EXPECT_EQ(RiempiFinoA("", ' ', "", -2, lunghezza), QString());
  // A font whose blank and point measure 0 wide: nothing is added, and the call ends.
  const auto senzaSpazi = [](const QString& s) { return static_cast<double>(QString(s).remove(' ').remove('.').size()); };
  EXPECT_EQ(RiempiFinoA("a", ' ', "b", 10, senzaSpazi), QString("a"));
  EXPECT_EQ(RiempiFinoA("a ", '.', "", 10, senzaSpazi), QString("a "));
  // A width that stops growing: the padding stops too.
  const auto ferma = [](const QString& s) { return s.size() < 3 ? static_cast<double>(s.size()) : 2.0; };
  EXPECT_LE(RiempiFinoA("", ' ', "", 5, ferma).size(), 5);
}

TEST_F(Anteprima, DoubleClickOrEscapeClosesTheWindow) {
  WriteAnsi(t.D("r.tab"), "#RESET\nuna riga\n#ENDDOCUMENT\n");
  AnteprimaDocumento(t.D("r.tab"));
  Form1* f = qobject_cast<Form1*>(plat::LoadedForm("Form1"));
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->pos(), QPoint(0, 0));
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(f->List1, &esc);
  EXPECT_TRUE(f->Unloaded());
  plat::DeleteClosedWindows();
  EXPECT_EQ(plat::LoadedForm("Form1"), nullptr);
  // A new window starts with an empty list.
  AnteprimaDocumento(t.D("r.tab"));
  EXPECT_EQ(Voci().size(), 5);
  f = qobject_cast<Form1*>(plat::LoadedForm("Form1"));
  emit f->List1->itemDoubleClicked(f->List1->item(2));
  EXPECT_TRUE(f->Unloaded());
  // A missing document shows nothing.
  plat::DeleteClosedWindows();
  AnteprimaDocumento(t.D("manca.tab"));
  EXPECT_EQ(plat::LoadedForm("Form1"), nullptr);
}

}  // namespace
}  // namespace report_test
