// Painting the table window, and changing one sprite's picture.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "art_resources.h"
#include "base/pictures.h"
#include "doubles/client_harness.h"
#include "hand/table_reset.h"
#include "platform/qt/form_painter.h"

namespace tallow::testing {
namespace {

// A started client with the whole wall shown, at 1024 x 768.
struct WallTable {
  WallTable() {
    h.Start();
    ResetTableDisplay(h.c());
    for (short s = 0; s < 120; ++s) SetTileSprite(h.c(), s, static_cast<short>(8 + 36 * (s / 30)));
  }
  ClientHarness h;
};

void BM_PaintTableWindow(benchmark::State& state) {
  WallTable t;
  for (auto _ : state) {
    QImage image = platform::qt::RenderToImage(t.h.c().mainForm);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintTableWindow)->Unit(benchmark::kMillisecond);

void BM_ChangeSpritePicture(benchmark::State& state) {
  WallTable t;
  short picture = 0;
  for (auto _ : state) {
    SetTileSprite(t.h.c(), 17, picture);
    picture = static_cast<short>((picture + 1) % 180);
  }
}
BENCHMARK(BM_ChangeSpritePicture);

}  // namespace
}  // namespace tallow::testing

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tallow::InitArtResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
