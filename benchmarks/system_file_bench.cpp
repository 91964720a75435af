// Load a maximal system file (every text filled, text area full), build the image and save it again.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "maximal_config.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace {

void LoadBuildSave(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / ("qd-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto source = folder / "maximal.xml";
  const auto target = folder / "saved.xml";
  const qd::LocalDateTime now{2024, 1, 2, 3, 4, 5, 1};
  {
    qd::WorkingConfig config = qd::bench::MaximalConfig();
    qd::WriteSystemFile(config, source);
  }
  qd::WorkingConfig config;
  for (auto _ : state) {
    const qd::LoadResult loaded = qd::LoadSystem(config, source, now);
    if (!loaded.file.ok) state.SkipWithError(loaded.file.error.c_str());
    const qd::LoadResult saved = qd::SaveSystem(config, target, now);
    if (!saved.file.ok) state.SkipWithError(saved.file.error.c_str());
    benchmark::DoNotOptimize(config.image.bytes.data());
  }
  const auto fullArea = qd::BuildImage(config, now).dataLength ==
                        static_cast<int>(qd::layout::TextArea + qd::layout::TextAreaSize);
  state.counters["text_area_full"] = fullArea ? 1 : 0;
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(source));
  std::filesystem::remove_all(folder);
}
BENCHMARK(LoadBuildSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
