#include "common/platform/drawingsurface.h"
#include "common/platform/picturebox.h"
#include "common/platform/ui.h"

#include <QPainter>
#include <QPainterPath>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <stdexcept>

namespace {

// A picture big enough for the raster engine to share its spans among threads: a gradient, thick antialiased
// circles and text.
void Figura(QImage& img) {
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, img.height());
  g.setColorAt(0, QColor(20, 40, 80));
  g.setColorAt(1, QColor(120, 90, 60));
  p.fillRect(img.rect(), g);
  p.setPen(QPen(QColor(240, 230, 210, 120), 3.3));
  for (int k = 1; k < 12; ++k) p.drawEllipse(QPointF(400, 270), 20.0 * k, 17.0 * k);
  QPainterPath onda;
  onda.moveTo(0, 500);
  for (int x = 0; x <= 800; x += 4) onda.lineTo(x, 500 - 30 * std::sin(x / 40.0));
  p.drawPath(onda);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 20, 800, 40), Qt::AlignCenter, QStringLiteral("prova"));
}

// The global pool cut to one thread, kept busy while the object lives; its end gives the pool back its threads.
class PoolPieno {
 public:
  PoolPieno() {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->start([this] {
      occupato_.release();
      libera_.acquire();
    });
    occupato_.acquire();
  }
  ~PoolPieno() {
    libera_.release();
    QThreadPool::globalInstance()->waitForDone();
    QThreadPool::globalInstance()->setMaxThreadCount(massimo_);
  }

 private:
  int massimo_ = QThreadPool::globalInstance()->maxThreadCount();
  QSemaphore occupato_, libera_;
};

TEST(DisegnoSuUnFilo, TheDrawingRunsOnOnePoolThreadWithThePixelsOfTheCallingThread) {
  QImage qui(800, 540, QImage::Format_ARGB32_Premultiplied);
  Figura(qui);
  QImage solo(800, 540, QImage::Format_ARGB32_Premultiplied);
  QThread* filo = nullptr;
  bool nelPool = false;
  plat::DrawOnOneThread([&] {
    filo = QThread::currentThread();
    nelPool = QThreadPool::globalInstance()->contains(filo);
    Figura(solo);
  });
  EXPECT_NE(filo, QThread::currentThread());
  EXPECT_TRUE(nelPool);
  EXPECT_EQ(solo, qui);

  // Called from a pool thread, it stays on that thread.
  QThread* interno = nullptr;
  plat::DrawOnOneThread([&] { plat::DrawOnOneThread([&] { interno = QThread::currentThread(); }); });
  EXPECT_TRUE(interno != nullptr && QThreadPool::globalInstance()->contains(interno));
}

TEST(DisegnoSuUnFilo, AFullPoolDrawsOnTheCallerAndAFailureReachesIt) {
  {
    PoolPieno pieno;
    QThread* filo = nullptr;
    plat::DrawOnOneThread([&] { filo = QThread::currentThread(); });  // no thread free: no wait for one
    EXPECT_EQ(filo, QThread::currentThread());
  }

  EXPECT_THROW(plat::DrawOnOneThread([] { throw std::runtime_error("disegno fallito"); }), std::runtime_error);
  bool dopo = false;
  plat::DrawOnOneThread([&] { dopo = true; });  // the pool still works
  EXPECT_TRUE(dopo);
}

TEST(Immagine, AnOpaquePictureCoversItsBoxAndATransparentOneShowsWhatLiesUnder) {
  QWidget sotto;
  sotto.setAutoFillBackground(true);
  QPalette tavolozza = sotto.palette();
  tavolozza.setColor(QPalette::Window, Qt::red);
  sotto.setPalette(tavolozza);
  sotto.resize(60, 40);
  auto* box = new plat::PictureBox(QStringLiteral("Box"), &sotto);
  box->setGeometry(0, 0, 60, 40);
  QImage opaca(60, 40, QImage::Format_RGB32);
  opaca.fill(QColor(0, 0, 255));
  box->SetPicture(opaca);
  EXPECT_TRUE(box->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(sotto.grab().toImage().pixelColor(30, 20), QColor(0, 0, 255));
  QImage trasparente(60, 40, QImage::Format_ARGB32);
  trasparente.fill(Qt::transparent);
  box->SetPicture(trasparente);
  EXPECT_FALSE(box->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(sotto.grab().toImage().pixelColor(30, 20), QColor(Qt::red));
  box->SetPicture(QImage());
  EXPECT_FALSE(box->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(DisegnoAnticipato, TheImageIsDrawnOnAPoolThreadAndTakenOnce) {
  QThread* filo = nullptr;
  plat::DrawingInAdvance anticipato([&] {
    filo = QThread::currentThread();
    QImage img(800, 540, QImage::Format_ARGB32_Premultiplied);
    Figura(img);
    return img;
  });
  const QImage img = anticipato.Take();
  QImage qui(800, 540, QImage::Format_ARGB32_Premultiplied);
  Figura(qui);
  EXPECT_EQ(img, qui);
  EXPECT_TRUE(filo != nullptr && QThreadPool::globalInstance()->contains(filo));
  EXPECT_TRUE(anticipato.Take().isNull());  // taken already
}

TEST(DisegnoAnticipato, ADrawingNotTakenIsWaitedForAndAFailureReachesTheTaker) {
  QSemaphore via;
  bool finito = false;
  {
    plat::DrawingInAdvance anticipato([&] {
      via.acquire();  // still running when the object goes
      finito = true;
      return QImage(4, 4, QImage::Format_RGB32);
    });
    via.release();
  }
  EXPECT_TRUE(finito);
  plat::DrawingInAdvance fallito([]() -> QImage { throw std::runtime_error("disegno fallito"); });
  EXPECT_THROW(fallito.Take(), std::runtime_error);

  // A full pool: drawn at once on the calling thread.
  PoolPieno pieno;
  QThread* filo = nullptr;
  plat::DrawingInAdvance subito([&] {
    filo = QThread::currentThread();
    return QImage(4, 4, QImage::Format_RGB32);
  });
  EXPECT_EQ(filo, QThread::currentThread());
  EXPECT_EQ(subito.Take().size(), QSize(4, 4));
}

TEST(DisegnoAnticipato, TheProgramEndsOnlyAfterADrawingInAdvanceHasFinished) {
  // exit() takes down what a drawing still running may use: the end of the program waits for it.
  std::atomic<bool> finito = false;
  QSemaphore partito;
  auto anticipato = std::make_unique<plat::DrawingInAdvance>([&] {
    partito.release();
    QThread::msleep(150);
    finito = true;
    return QImage(4, 4, QImage::Format_RGB32);
  });
  partito.acquire();
  plat::SetEndProgramHandler([](int code) { throw code; });
  int codice = 0;
  try {
    plat::EndProgram(3);
  } catch (int c) {
    codice = c;
  }
  plat::SetEndProgramHandler(nullptr);
  EXPECT_EQ(codice, 3);
  EXPECT_TRUE(finito);
}

}  // namespace
