// The DXF export: the file to the byte, the text style file, layers by colour, the export command.
#include "tests/plot/fixture.h"

#include "common/platform/gdi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace plot_test;
using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::WriteAnsi;

namespace {

class Dxf_ : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenne(1, 2));
    Pagina();
  }
  // A small plot: lines in black, red, dark red, orange and grey; a centred, a left and a turned text.
  static void PiccoloGrafico() {
    int p = 1;
    SelezionaPennaTabella(p);
    Traccia(1, 2, 3);
    Traccia(3.5, 4.25, 2);
    SelezionaPenna(p, plat::RgbValue(255, 0, 0));
    Traccia(12.125, 20, 2);
    SelezionaPenna(p, plat::RgbValue(150, 20, 10));
    Traccia(-1.5, 0.004, 2);
    SelezionaPenna(p, plat::RgbValue(255, 140, 0));
    Traccia(18, 26, 2);
    SelezionaPenna(p, plat::RgbValue(128, 128, 128));
    Traccia(10, 14, 3);
    Traccia(10, 22, 2);
    SelezionaPennaTabella(p);
    DisegnaSimbolo(10, 27, 0.5, "RILIEVO STRUTTURALE", 0, -2);
    SelezionaPenna(p, plat::RgbValue(0, 0, 255));
    DisegnaSimbolo(9.9, 22.1, 0.2, "N", 0, 1);
    DisegnaSimbolo(4, 5, 0.18, "1.25", 30, 4);
    DisegnaSimbolo(2, 1, 0.3, QString::fromUtf8("Immersione 45° - caratteristiche è"), 90, 10);
    Traccia(0, 0, 999);
  }
  static QStringList Righe(const QString& file) { return ReadAnsi(file).split('\n'); }
};

TEST_F(Dxf_, ASmallPlotIsWrittenExactlyAsTheReferenceDrawing) {
  PiccoloGrafico();
  ASSERT_TRUE(ScriviDXF(folder->D("piccolo.dxf")));
  const QByteArray scritto = ReadBytes(folder->D("piccolo.dxf"));
  const QByteArray atteso = ReadBytes(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/tests/plot/data/piccolo.dxf"));
  if (scritto != atteso) {
    // Kept for a look with diff.
    QFile f(QStringLiteral(FRATTIX_TEST_TMP_DIR "/piccolo.dxf"));
    if (f.open(QIODevice::WriteOnly)) f.write(scritto);
  }
  ASSERT_FALSE(atteso.isEmpty());
  EXPECT_EQ(scritto.count("\r\n"), scritto.count('\n'));
  EXPECT_EQ(scritto.toStdString(), atteso.toStdString());
  EXPECT_EQ(ReadAnsi(folder->P("dxf.cfg")), "MONOTXT\n");
}

TEST(StratoColore, GreysGoToLayer15AndColoursToTheNearestOfThePaletteOrToNone) {
  EXPECT_EQ(StratoColore(plat::RgbValue(0, 0, 0)), 15);
  EXPECT_EQ(StratoColore(plat::RgbValue(200, 200, 200)), 15);
  EXPECT_EQ(StratoColore(plat::RgbValue(255, 0, 0)), 12);
  EXPECT_EQ(StratoColore(plat::RgbValue(150, 20, 10)), 4);
  EXPECT_EQ(StratoColore(plat::RgbValue(0, 100, 0)), 2);
  EXPECT_EQ(StratoColore(plat::RgbValue(0, 200, 200)), 11);
  // Between the palette's colours: no layer of its own (the line keeps the layer before it).
  EXPECT_EQ(StratoColore(plat::RgbValue(255, 140, 0)), 0);
  EXPECT_EQ(StratoColore(plat::RgbValue(0, 180, 200)), 0);
}

TEST_F(Dxf_, TheTextStyleComesFromDxfCfgAndFallsBackToMonotxt) {
  PiccoloGrafico();
  WriteAnsi(folder->P("dxf.cfg"), "\"ROMANS\"\n\n");
  ASSERT_TRUE(ScriviDXF(folder->D("a.dxf")));
  QStringList r = Righe(folder->D("a.dxf"));
  EXPECT_EQ(r.count("ROMANS"), 3 + 4);  // header, STYLE name and font, one per text
  EXPECT_EQ(r.count("MONOTXT"), 0);

  WriteAnsi(folder->P("dxf.cfg"), "");
  ASSERT_TRUE(ScriviDXF(folder->D("b.dxf")));
  EXPECT_EQ(Righe(folder->D("b.dxf")).count("MONOTXT"), 7);

}

// A dxf.cfg that the export cannot make (a disk full half-way through it; a program folder that cannot be written)
// is said as every failed save is; the drawing is written all the same, in the usual style, and no dxf.cfg stands.
TEST_F(Dxf_, ATextStyleFileThatCannotBeMadeIsSaidAndTheDrawingTakesTheUsualStyle) {
  PiccoloGrafico();
  for (const bool cartella : {false, true}) {
    SCOPED_TRACE(cartella ? "a program folder that cannot be written" : "a full disk");
    plat::DeleteFile(folder->P("dxf.cfg"));
    QFile::remove(folder->D("ui.log"));
    if (cartella) {
      QFile::setPermissions(folder->Program(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
      if (QFileInfo(folder->Program()).isWritable()) {
        QFile::setPermissions(folder->Program(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        continue;  // root writes anywhere: the full disk stands for it
      }
    } else {
      testing_support::SetEnv("FRATTIX_FAIL_SAVE", "dxf.cfg");
    }
    Script("answer OK \"dxf.cfg\"\n");
    const bool scritto = ScriviDXF(folder->D("c.dxf"));
    testing_support::UnsetEnv("FRATTIX_FAIL_SAVE");
    QFile::setPermissions(folder->Program(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(scritto);
    const QStringList m = Log().filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), 1) << Log().join("\n").toStdString();
    EXPECT_TRUE(m[0].contains("Il file seguente non puo' essere scritto:\\ndxf.cfg\\nCartella: " + folder->Program()))
        << m[0].toStdString();
    EXPECT_EQ(Righe(folder->D("c.dxf")).count("MONOTXT"), 7);
    EXPECT_FALSE(plat::EntryExists(folder->P("dxf.cfg")));
  }
}

// A damaged dxf.cfg is said as every configuration file is, with its line, and the drawing takes the usual style:
// control characters in the name (a NUL, a TAB, a C1 code), a second item on the line, a second line, a CR that
// ends no line, a folder at the name. No control character reaches the DXF, from the style or from a text.
TEST_F(Dxf_, ADamagedTextStyleFileIsSaidAndNoControlCharacterReachesTheDrawing) {
  PiccoloGrafico();
  Grafico.ListaScritte[1].Testo = QString::fromLatin1("RILIEVO\tSTRUTTURALE\x01\x1A");
  const struct {
    QByteArray testo;  // empty: a folder at the name
    int riga;
  } casi[] = {
      {QByteArray("MONO\0\0\0\0TXT\r\n", 13), 1},
      {"ROM\tANS\r\n", 1},
      {"ROM\x81" "ANS\r\n", 1},
      {"\"ROMANS\",altro\r\n", 1},
      {"ROMANS,altro\r\n", 1},
      {"ROMANS\r\nsecondo\r\n", 2},
      {"ROMANS\rsecondo\r", 1},
      {QByteArray(), 0},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo.toStdString());
    QDir(folder->P("dxf.cfg")).removeRecursively();
    QFile::remove(folder->P("dxf.cfg"));
    if (c.testo.isEmpty()) {
      ASSERT_TRUE(QDir(folder->Program()).mkdir("dxf.cfg"));
    } else {
      QFile f(folder->P("dxf.cfg"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.testo);
    }
    QFile::remove(folder->D("ui.log"));
    Script("answer OK \"dxf.cfg\"\n");
    ASSERT_TRUE(ScriviDXF(folder->D("d.dxf")));
    const QStringList m = Log().filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), 1);
    EXPECT_TRUE(m[0].contains("Il file e' incompleto o danneggiato:")) << m[0].toStdString();
    if (c.riga) {
      EXPECT_TRUE(m[0].contains(QString("dxf.cfg, riga %1\\n").arg(c.riga))) << m[0].toStdString();
    } else {
      EXPECT_TRUE(m[0].contains("una cartella, una pipe o un dispositivo")) << m[0].toStdString();
    }
    const QByteArray dxf = ReadBytes(folder->D("d.dxf"));
    EXPECT_EQ(Righe(folder->D("d.dxf")).count("MONOTXT"), 7);
    for (const char b : dxf) {
      const auto u = static_cast<unsigned char>(b);
      EXPECT_TRUE(u == '\r' || u == '\n' || (u >= 0x20 && u != 0x7F && u != 0x81)) << int(u);
    }
    EXPECT_EQ(dxf.count("\r\n"), dxf.count('\n'));
    EXPECT_EQ(dxf.count("\r\n"), dxf.count('\r'));
  }
  QDir(folder->P("dxf.cfg")).removeRecursively();
}

TEST_F(Dxf_, TheExportProposesTheSessionNameAndWritesNothingWhenCancelled) {
  EXPECT_EQ(NomeProposto("C:\\DATI\\PROVA.SES"), "PROVA.DXF");
  EXPECT_EQ(NomeProposto("PROVA"), "PROVA.DXF");
  EXPECT_EQ(NomeProposto("/home/geo/sito.uno.ses"), "sito.DXF");
  PiccoloGrafico();
  Grafico.NomeFileDati = QStringLiteral("PROVA.SES");
  Script("cancel\nfile disegno\n");
  EsportaDXF();
  EXPECT_TRUE(plat::FindFiles(folder->D("*.dxf")).isEmpty());
  EsportaDXF();
  EXPECT_TRUE(plat::FileExists(folder->D("disegno.DXF")));
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log.at(0).contains("filedialog\tsave"));
}

TEST_F(Dxf_, AMissingChunkOrAFolderThatCannotBeWrittenLeavesNoDrawing) {
  Script("answer OK\nanswer OK\n");
  PiccoloGrafico();
  plat::DeleteFile(FileBloccoSegmenti(1));
  EXPECT_FALSE(ScriviDXF(folder->D("a.dxf")));
  EXPECT_FALSE(plat::FileExists(folder->D("a.dxf")));
  EXPECT_FALSE(ScriviDXF(folder->D("manca/b.dxf")));
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log.at(0).contains("manca o e' incompleto"));
  EXPECT_TRUE(log.at(1).contains("Impossibile scrivere il file:\\nb.dxf\\n")) << log.at(1).toStdString();
}

}  // namespace
