#include "common/platform/help.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "main/dialogs/contesti.h"
#include "main/dialogs/definizioni.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <QFile>

#include <gtest/gtest.h>

using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

TEST(FileAiuto, TopicsParagraphsAndBadFiles) {
  TestFolder t;
  WriteAnsi(t.D("a.hlp"), "; commento\n\n@7 Primo argomento\nuna riga\nche continua\n\nsecondo paragrafo\n@9 Secondo\n");
  QList<plat::HelpTopic> argomenti;
  QString errore;
  ASSERT_TRUE(plat::ReadHelpFile(t.D("A.HLP"), argomenti, &errore)) << errore.toStdString();
  ASSERT_EQ(argomenti.size(), 2);
  EXPECT_EQ(argomenti[0].context, 7);
  EXPECT_EQ(argomenti[0].title, QString("Primo argomento"));
  EXPECT_EQ(argomenti[0].text, QString("una riga che continua\nsecondo paragrafo"));
  EXPECT_TRUE(argomenti[1].text.isEmpty());
  for (const char* male : {"@x Titolo\n", "@5\n", "@5 A\n@5 B\n", "; solo commenti\n", "@70000 Troppo\n"}) {
    WriteAnsi(t.D("m.hlp"), male);
    EXPECT_FALSE(plat::ReadHelpFile(t.D("m.hlp"), argomenti, &errore)) << male;
    EXPECT_TRUE(argomenti.isEmpty());
  }
  EXPECT_FALSE(plat::ReadHelpFile(t.D("manca.hlp"), argomenti, &errore));
  // A help file saved with CR line ends is no file of topics (it was read as one topic whose text held every
  // other): refused with its line, the file named as it is on disk.
  QFile cr(t.D("Cr.HLP"));
  ASSERT_TRUE(cr.open(QIODevice::WriteOnly));
  cr.write("@7 Primo\runa riga\r@9 Secondo\r");
  cr.close();
  EXPECT_FALSE(plat::ReadHelpFile(t.D("cr.hlp"), argomenti, &errore));
  EXPECT_TRUE(argomenti.isEmpty());
  EXPECT_EQ(errore, QString("Cr.HLP, line 1: a CR that ends no line"));
}

TEST(FileAiuto, AMissingFileOrTopicIsReported) {
  TestFolder t;
  Avvio.NumeroLingua = 1;
  WriteAnsi(t.D("a.hlp"), "@7 Sette\ntesto\n");
  EXPECT_EQ(plat::ShowHelp(t.D("a.hlp"), 8), plat::HelpResult::NoTopic);
  EXPECT_EQ(plat::ShowHelp(t.D("manca.hlp"), 7), plat::HelpResult::NoFile);
  Avvio.FileAiuto = t.D("a.hlp");
  Scripted s(t, "answer OK \"(8)\"\nanswer OK \"manca.hlp\"\n");
  MostraAiuto(8);
  MostraAiuto(7);
  Avvio.FileAiuto = t.D("manca.hlp");
  MostraAiuto(7);
  EXPECT_EQ(s.Log("msgbox").size(), 2);
  EXPECT_TRUE(s.Log("window").first().endsWith("\tHelpWindow\tSette"));
  plat::CloseHelp();
}

// A help file that is none of topics (a CR that ends no line, a bad topic line) is told as damaged with the line of
// its fault, from a topic and from the contents; no help window opens.
TEST(FileAiuto, ADamagedHelpFileIsToldWithItsLine) {
  TestFolder t;
  Avvio.NumeroLingua = 1;
  Avvio.FileAiuto = t.D("d.hlp");
  const struct {
    QByteArray testo;
    int riga;
  } casi[] = {{"@7 Sette\r\ntesto\rancora\r\n", 2}, {"@7 Sette\ntesto\n\n@x Male\n", 4}};
  for (const auto& c : casi) {
    QFile f(t.D("d.hlp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.testo);
    f.close();
    Scripted s(t, "answer OK\nanswer OK\n");
    MostraAiuto(7);
    MostraSommarioAiuto();
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 2) << c.riga;
    for (const QString& riga : m)
      EXPECT_TRUE(riga.contains(QString("Il file e' incompleto o danneggiato:\\nd.hlp, riga %1\\n").arg(c.riga)))
          << riga.toStdString();
    EXPECT_TRUE(s.Log("window").isEmpty());
  }
}

// Every help context that the menus, the small dialogs and the installed dialog definitions use has a topic in
// both installed help files.
TEST(FileAiuto, TheInstalledFilesHoldEveryContextTheProgramUses) {
  TestFolder t;
  Avvio.NumeroLingua = 1;
  CaricaContestiAiuto();
  std::vector<QString> p = {QString()};
  for (const char* n : {"EDITFRON.MAV", "EDITPARG.MAV", "EDITPFAM.MAV", "EDITSCHE.MAV", "EDITPGEN.MAV",
                        "EDITTITO.MAV", "EDITPARG2.MAV"})
    p.push_back(t.P(n));
  ASSERT_EQ(LeggiDefinizioniMaschere(7, p), 7);
  QList<int> indici;
  for (int i = 3; i <= 32; ++i) indici << i;
  indici << 39 << 40;
  for (int n = 1; n <= 7; ++n) {
    indici << static_cast<int>(DefinizioniMaschere.ArgomentoAiutoDefinizione[static_cast<std::size_t>(n)].value_or(0));
    // The dialog's help text begins with the same index (its Help button uses the number).
    indici << static_cast<int>(plat::Val(DefinizioniMaschere.RigaFinaleDefinizione[static_cast<std::size_t>(n)]));
  }
  for (const char* file : {"korvenITA.hlp", "korvenENG.hlp"}) {
    QList<plat::HelpTopic> argomenti;
    QString errore;
    ASSERT_TRUE(plat::ReadHelpFile(t.P(file), argomenti, &errore)) << errore.toStdString();
    QList<int> contesti;
    for (const auto& a : argomenti) contesti << a.context;
    for (int i : indici) {
      EXPECT_GT(ContestoAiuto(i), 0) << i;
      EXPECT_TRUE(contesti.contains(ContestoAiuto(i))) << file << " " << i;
    }
    EXPECT_EQ(argomenti.first().context, 100);  // the contents topic comes first
  }
  EXPECT_EQ(ContestoAiuto(-1), 0);
  EXPECT_EQ(ContestoAiuto(201), 0);
}

// The two installed languages offer the same topics in the same order, and no topic is a bare title.
TEST(FileAiuto, TheInstalledLanguagesHoldTheSameTopicsEachWithText) {
  TestFolder t;
  QList<plat::HelpTopic> ita, eng;
  QString errore;
  ASSERT_TRUE(plat::ReadHelpFile(t.P("korvenITA.hlp"), ita, &errore)) << errore.toStdString();
  ASSERT_TRUE(plat::ReadHelpFile(t.P("korvenENG.hlp"), eng, &errore)) << errore.toStdString();
  ASSERT_EQ(ita.size(), eng.size());
  for (qsizetype i = 0; i < ita.size(); ++i) {
    EXPECT_EQ(ita[i].context, eng[i].context) << i;
    for (const plat::HelpTopic* a : {&ita[i], &eng[i]}) EXPECT_GE(a->text.size(), 150) << a->context;
  }
}

}  // namespace

namespace {

TEST(FileAiuto, TheWindowOpensOverTheWindowInUseAndOnTheScreen) {
  TestFolder t;
  WriteAnsi(t.D("a.hlp"), "@7 Sette\ntesto\n");
  QWidget principale;
  principale.setObjectName("Principale");
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  principale.setGeometry(area.right() - 300, area.bottom() - 200, 280, 180);  // near the screen's corner
  principale.show();
  principale.activateWindow();
  QApplication::setActiveWindow(&principale);
  ASSERT_EQ(plat::ShowHelp(t.D("a.hlp"), 7), plat::HelpResult::Shown);
  QWidget* aiuto = nullptr;
  for (QWidget* w : QApplication::allWidgets())
    if (w->objectName() == "HelpWindow" && w->isVisible()) aiuto = w;  // a closed one may await deletion
  ASSERT_NE(aiuto, nullptr);
  EXPECT_EQ(aiuto->parentWidget(), &principale);
  EXPECT_TRUE(aiuto->isWindow());
  EXPECT_TRUE(area.contains(aiuto->geometry())) << aiuto->geometry().x() << "," << aiuto->geometry().y() << " " << aiuto->width() << "x" << aiuto->height() << " in " << area.width() << "x" << area.height() << " owner " << principale.geometry().y();
  plat::CloseHelp();
}

}  // namespace
