// The Word export of the main program: the DOC commands of the main window start wenlow on the report document,
// keep the menus off while it runs and open the document it saved. The documents of the example session are read
// back by python-docx and by LibreOffice against the report documents themselves.
#include "common/markup/documento.h"
#include "common/platform/textio.h"
#include "main/session/menu1.h"
#include "main/session/sessione.h"
#include "tests/docexport/lettura.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using docexport_test::LeggiDocx;
using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::WriteScript;

namespace {

const char* const kMenu[] = {"Archivi", "Edizione", "calcoli", "Stampa", "uscita", "about"};

QString Sorgente(const QString& nome) { return QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/") + nome; }

// What a report document holds, as the markup core reads it: its text lines and its tables, cell by cell.
struct Contenuto {
  QStringList testi;
  QList<QList<QStringList>> tabelle;
  QStringList ordine;  // every non-empty text and cell in the order of the document
};

class Raccolta : public InterpreteDocumento {
 public:
  Raccolta() : InterpreteDocumento(LimitiDocumento::Wenlow(), RegoleModo{true, true}) {}
  Contenuto c;

 protected:
  void ScriviTesto(const QString& riga) override {
    c.testi << riga;
    if (!riga.isEmpty()) c.ordine << riga;
  }
  void ScriviTabella(const TabellaDocumento& t) override {
    if (t.celle.empty()) return;
    c.tabelle << QList<QStringList>(t.celle.begin(), t.celle.end());
    for (const QStringList& riga : t.celle)
      for (const QString& cella : riga)
        if (!cella.isEmpty()) c.ordine << cella;
  }
};

Contenuto LeggiTabulato(const QString& percorso) {
  Raccolta r;
  plat::SeqReader in(percorso);
  QString riga;
  while (in.ReadLine(riga)) r.Riga(riga);
  r.FineFile();
  return r.c;
}

// The example session in the data folder, wenlow beside the program; the viewer of editor.cfg records the files
// it is started on; no desktop opener on the PATH.
class Esportazione : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"wenlow", "frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    for (const char* f : {"esempio.ses", "esempio.tit", "esempio.fro", "fronte_est.sch"})
      QFile::copy(Sorgente(QString("examples/") + f), t.D(f));
    WriteAnsi(t.D("esempio.FAM"), QString::fromUtf8("N. Fam.\tImmers. [°]\tInclinaz. [°]\tApertura [mm]\tFrequenza [1/m]\t"
                                                    "Phi [°]\tCoesione [kN/m²]\n1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n"
                                                    "2\t300.0\t45.0\t0.8\t1.10\t35.00\t20.00\n"));
    QDir(t.Root()).mkpath("bin");
    QDir(t.Root()).mkpath("script");
    WriteScript(t.P("visore"), QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >> %1\n").arg(ApertiFile()));
    WriteAnsi(t.P("editor.cfg"), t.P("visore") + "\n\n");
    oldPath_ = qgetenv("PATH");
    testing_support::SetEnv("PATH", (t.Root() + "/bin").toLocal8Bit());
    Sessione = ModuloSessione();
    Sessione.NomeSessione = "esempio.ses";
  }
  void TearDown() override { testing_support::SetEnv("PATH", oldPath_); }

  // The messages this program showed (wenlow writes to the same log).
  QStringList Messaggi() const { return s_->Log("msgbox").filter(QRegularExpression("^test_docexport\t")); }
  // Scripts for this test program and for wenlow.
  void Script(const QString& principale, const QString& wenlow = QString()) {
    s_.reset();  // the old one's end clears the settings
    s_ = std::make_unique<Scripted>(t, principale);
    WriteAnsi(t.Root() + "/script/test_docexport.script", principale);
    WriteAnsi(t.Root() + "/script/wenlow.script", wenlow);
    testing_support::SetEnv("FRATTIX_UI_SCRIPT", (t.Root() + "/script").toLocal8Bit());
    plat::ResetInteraction();
  }
  QStringList Aperti() const { return QString::fromUtf8(ReadBytes(ApertiFile())).split('\n', Qt::SkipEmptyParts); }
  QString ApertiFile() const { return t.Root() + "/aperti"; }
  std::vector<bool> StatoMenu() const {
    std::vector<bool> stato;
    for (const char* nome : kMenu) stato.push_back(w.Voce(nome)->isEnabled());
    return stato;
  }
  // The files the viewer was started on, once it has recorded `n` of them (it runs on its own).
  QStringList AttendiAperti(int n) const {
    for (int i = 0; i < 300 && Aperti().size() < n; ++i) QThread::msleep(10);
    return Aperti();
  }

  TestFolder t;
  menu1 w;
  std::unique_ptr<Scripted> s_;

 private:
  QByteArray oldPath_;
};

}  // namespace

TEST_F(Esportazione, ResultsReportMenusOffWhileWenlowRunsThenTheViewer) {
  Script("");
  std::vector<bool> durante;
  bool visto = false;
  QTimer::singleShot(0, &w, [&] {
    visto = w.FiglioInCorso();
    durante = StatoMenu();
  });
  w.EsportaTabulatiDOC_Click();
  EXPECT_TRUE(visto);
  EXPECT_EQ(durante, std::vector<bool>(6, false));
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  EXPECT_FALSE(w.FiglioInCorso());
  EXPECT_TRUE(ReadBytes(t.D("esempio.DOC")).startsWith("PK"));
  EXPECT_EQ(AttendiAperti(1), QStringList{t.D("esempio.DOC")});
  EXPECT_TRUE(Messaggi().isEmpty());
}

TEST_F(Esportazione, WenlowKilledMidRunIsReportedAndNoViewerStarts) {
  QFile::remove(t.P("wenlow"));  // a link to the built program: never written through
  WriteScript(t.P("wenlow"), "#!/bin/sh\nkill -9 $$\n");
  Script("answer OK \"wenlow\"\n");
  w.EsportaTabulatiDOC_Click();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("terminato in modo anomalo")) << m[0].toStdString();
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  QThread::msleep(100);
  EXPECT_TRUE(Aperti().isEmpty());
}

TEST_F(Esportazione, NoViewerAfterACancelAnExistingFileInAnyCaseAndNoViewerAtAll) {
  // An older "esempio.doc": wenlow asks; No and no name chosen: nothing saved, no viewer, no message.
  WriteAnsi(t.D("esempio.doc"), "vecchio");
  Script("", "answer No \"esempio.DOC?\"\ncancel\n");
  w.EsportaTabulatiDOC_Click();
  EXPECT_EQ(ReadBytes(t.D("esempio.doc")), QByteArray("vecchio"));
  EXPECT_TRUE(Messaggi().isEmpty());
  // Yes: the existing file, named in lower case, is written and shown.
  Script("", "answer Yes\n");
  w.EsportaTabulatiDOC_Click();
  EXPECT_TRUE(ReadBytes(t.D("esempio.doc")).startsWith("PK"));
  EXPECT_EQ(AttendiAperti(1), QStringList{t.D("esempio.doc")});
  // No viewer anywhere: the message names the file that was written.
  QFile::remove(t.P("editor.cfg"));
  Script("answer OK\n", "answer Yes\n");
  w.EsportaTabulatiDOC_Click();
  ASSERT_EQ(Messaggi().size(), 1);
  EXPECT_TRUE(Messaggi()[0].contains("formato DOC. Il programma ha comunque creato il file:\\nesempio.doc\\nCartella: " +
                                     t.Data()))
      << Messaggi()[0].toStdString();
}

// After No to wenlow's overwrite question, the name "r" chosen in the folder "cava.2" is saved as "cava.2/r.DOC"
// and shown; "cava.DOC" in the folder above, a file of the user's, stays as it was.
TEST_F(Esportazione, ANameChosenInAFolderWithAPointIsTheDocumentSaved) {
  QDir(t.Data()).mkpath("cava.2");
  WriteAnsi(t.D("cava.DOC"), "un file dell'utente");
  WriteAnsi(t.D("esempio.DOC"), "vecchio");
  Script("", QString("answer No \"esempio.DOC?\"\nfile %1/cava.2/r\n").arg(t.Data()));
  w.EsportaTabulatiDOC_Click();
  EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  EXPECT_EQ(ReadBytes(t.D("cava.DOC")), QByteArray("un file dell'utente"));
  EXPECT_EQ(ReadBytes(t.D("esempio.DOC")), QByteArray("vecchio"));
  EXPECT_TRUE(ReadBytes(t.D("cava.2/r.DOC")).startsWith("PK"));
  EXPECT_EQ(AttendiAperti(1), QStringList{t.D("cava.2/r.DOC")});
}

// The viewer of editor.cfg's line 1 named by its bare name is found on the PATH; one that is not found is said with
// the message of no viewer, and xdg-open is not started in its place.
TEST_F(Esportazione, TheViewerOfEditorCfgIsFoundOnThePathOrSaidWhenItIsNot) {
  QFile::rename(t.P("visore"), t.Root() + "/bin/visore-di-prova");
  WriteAnsi(t.P("editor.cfg"), "visore-di-prova\n\n");
  Script("");
  w.EsportaTabulatiDOC_Click();
  EXPECT_EQ(AttendiAperti(1), QStringList{t.D("esempio.DOC")});
  EXPECT_TRUE(Messaggi().isEmpty());
  QFile::remove(t.Root() + "/bin/visore-di-prova");
  WriteScript(t.Root() + "/bin/xdg-open", QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >> %1\n").arg(ApertiFile()));
  Script("answer OK\n", "answer Yes\n");
  w.EsportaTabulatiDOC_Click();
  ASSERT_EQ(Messaggi().size(), 1);
  EXPECT_TRUE(Messaggi()[0].contains("Non è stato trovato il programma indicato in editor.cfg:\\nvisore-di-prova\\n\\n"
                                     "Non è stato trovato nè un visualizzatore"))
      << Messaggi()[0].toStdString();
  QThread::msleep(100);
  EXPECT_EQ(Aperti(), QStringList{t.D("esempio.DOC")});
}

TEST_F(Esportazione, AWenlowThatCannotStartIsReportedAndTheMenusComeBack) {
  QFile::remove(t.P("wenlow"));
  Script("answer OK \"Impossibile avviare il programma:\"\n");
  w.EsportaTabulatiDOC_Click();
  EXPECT_EQ(Messaggi().size(), 1);
  EXPECT_EQ(StatoMenu(), std::vector<bool>(6, true));
  EXPECT_FALSE(QFile::exists(t.D("esempio.DOC")));
  EXPECT_TRUE(Aperti().isEmpty());
}

// Both reports of the example session through the scripted menu commands of frattix32, read back by python-docx
// and LibreOffice: every text line, every list row and every table cell of the report documents.
TEST_F(Esportazione, BothReportsOfTheExampleSessionReadBackByPythonDocxAndLibreOffice) {
  WriteAnsi(t.Root() + "/script/frattix32.script",
            QString("menu EsportaTabulatiDOC\nmenu EsportaSchedaDOC\nfile %1\nclose menu1\n").arg(t.D("fronte_est.sch")));
  WriteAnsi(t.Root() + "/script/wenlow.script", "");
  QProcessEnvironment env;
  env.insert("FRATTIX_DRIVE_C", t.DriveC());
  env.insert("FRATTIX_UI_LOG", t.D("ui.log"));
  env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
  env.insert("PATH", t.Root() + "/bin");
  const auto r = RunProgram(t.P("frattix32"), {t.D("esempio.ses")}, t.Data(), env, 120000);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("wenlow\twindow\tprogress\t").size(), 2);
  EXPECT_EQ(AttendiAperti(2), (QStringList{t.D("esempio.DOC"), t.D("fronte_est.DOC")}));

  for (const char* nome : {"esempio", "fronte_est"}) {
    SCOPED_TRACE(nome);
    const Contenuto atteso = LeggiTabulato(t.D(QString(nome) + ".tab"));
    ASSERT_FALSE(atteso.testi.isEmpty());
    ASSERT_FALSE(atteso.tabelle.isEmpty());
    const QString doc = t.D(QString(nome) + ".DOC");

    // python-docx: the text lines as paragraphs, the tables cell by cell, in the document's order.
    QString errore;
    const QJsonArray corpo = LeggiDocx(doc, &errore);
    ASSERT_FALSE(corpo.isEmpty()) << errore.toStdString();
    QStringList paragrafi;
    QList<QList<QStringList>> tabelle;
    for (const auto& b : corpo) {
      const QJsonObject o = b.toObject();
      if (o.contains("table")) tabelle << docexport_test::Testi(o);
      else if (!o["p"].toString().isEmpty()) paragrafi << o["p"].toString();
    }
    QStringList testiAttesi;
    for (const QString& s : atteso.testi)
      if (!s.isEmpty()) testiAttesi << s;
    EXPECT_EQ(paragrafi, testiAttesi);
    EXPECT_EQ(tabelle, atteso.tabelle);

    // LibreOffice: the text rendering holds every text and every cell, in order; the PDF is written.
    const QString txt = docexport_test::ConvertiConLibreOffice(doc, "txt", t.Root() + "/lo", &errore);
    ASSERT_FALSE(txt.isEmpty()) << errore.toStdString();
    const QString testo = QString::fromUtf8(ReadBytes(txt));
    qsizetype da = 0;
    for (const QString& v : atteso.ordine) {
      const qsizetype at = testo.indexOf(v, da);
      ASSERT_GE(at, 0) << v.toStdString() << " after: " << testo.mid(da, 200).toStdString();
      da = at + v.size();
    }
    const QString pdf = docexport_test::ConvertiConLibreOffice(doc, "pdf", t.Root() + "/lo", &errore);
    ASSERT_FALSE(pdf.isEmpty()) << errore.toStdString();
    EXPECT_TRUE(ReadBytes(pdf).startsWith("%PDF"));
    const QString copia = QStringLiteral(FRATTIX_TEST_TMP_DIR "/pictures/") + nome + ".pdf";
    QDir().mkpath(QStringLiteral(FRATTIX_TEST_TMP_DIR "/pictures"));
    QFile::remove(copia);
    QFile::copy(pdf, copia);  // kept for looking at
    QFile::remove(copia + ".docx");
    QFile::copy(doc, copia + ".docx");
  }
}
