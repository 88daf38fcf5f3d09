// Showing a 4.8 MB enhanced metafile of 300,000 lines in the radome and
// flange picture box (121 x 120): the first show decodes the file and
// renders it at the box's size; a repaint draws the image the box holds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>

#include "app/QtPictureBox.h"

namespace {

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out += char((v >> (8 * i)) & 0xFF);
}

void Record(std::string& out, uint32_t type, std::initializer_list<uint32_t> params) {
  Put32(out, type);
  Put32(out, uint32_t(8 + 4 * params.size()));
  for (const uint32_t p : params)
    Put32(out, p);
}

// A dense line drawing on a 1000 x 1000 frame: a random walk of `lines`
// line records (16 bytes each), every step up to 60 units each way.
std::string LineDrawingEmf(int lines) {
  std::string body;
  Record(body, 27, {500, 500});  // move to
  std::mt19937 random(7);
  std::uniform_int_distribution<int> step(-60, 60);
  int x = 500, y = 500;
  for (int i = 0; i < lines; ++i) {
    x = std::clamp(x + step(random), 0, 999);
    y = std::clamp(y + step(random), 0, 999);
    Record(body, 54, {uint32_t(x), uint32_t(y)});  // line to
  }
  Record(body, 14, {0, 16, 20});  // end of file
  const uint32_t total = 88 + uint32_t(body.size());
  std::string header;
  for (const uint32_t v : {0, 0, 999, 999})  // bounds in device pixels
    Put32(header, v);
  for (const uint32_t v : {0, 0, 26458, 26458})  // frame in 0.01 mm at 96 dpi
    Put32(header, v);
  // Signature, version, size, records, one handle, no description or palette.
  for (const uint32_t v : {0x464D4520u, 0x10000u, total, uint32_t(lines + 3), 1u, 0u, 0u, 0u})
    Put32(header, v);
  for (const uint32_t v : {1024, 768, 271, 203})  // the device in pixels, then in mm
    Put32(header, v);
  std::string emf;
  Put32(emf, 1);
  Put32(emf, uint32_t(8 + header.size()));
  return emf + header + body;
}

const std::string& DrawingFile() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "kav_bench_lines_300000.emf").string();
    std::ofstream(file, std::ios::binary) << LineDrawingEmf(300000);
    return file;
  }();
  return path;
}

void BM_MetafileFirstShow(benchmark::State& state) {
  const std::string& file = DrawingFile();
  state.counters["bytes"] = double(std::filesystem::file_size(file));
  QImage screen(121, 120, QImage::Format_RGB32);
  for (auto _ : state) {
    TQtPictureBox box;
    box.SetSize(121, 120);
    box.LoadPicture(file);
    box.render(&screen);
  }
}
BENCHMARK(BM_MetafileFirstShow)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_MetafileRepaint(benchmark::State& state) {
  TQtPictureBox box;
  box.SetSize(121, 120);
  box.LoadPicture(DrawingFile());
  QImage screen(121, 120, QImage::Format_RGB32);
  for (auto _ : state)
    box.render(&screen);
}
BENCHMARK(BM_MetafileRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
