// How long the two jobs a user waits for take: reading an installation into
// the catalogue, and examining a program against it. The targets are that a
// large installation (240 modules, about 10,000 commands) scans in well under
// a quarter second and a 20,000-line program is examined in well under one.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCollections = 4;
constexpr int kModulesPerCollection = 60;
constexpr int kCommandsPerModule = 40;
constexpr int kProgramFiles = 20;
constexpr int kLinesPerFile = 1000;

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ModuleName(int c, int m) {
  return std::string("c") + std::to_string(c) + ".m" + std::to_string(m);
}

// An installation whose modules each import the previous one and declare
// their own commands, with the blocks a real module has.
void MakeInstallation(const fs::path& root) {
  for (int c = 0; c < kCollections; ++c) {
    for (int m = 0; m < kModulesPerCollection; ++m) {
      // string + string: GCC 12 takes literal + string for an overlapping copy.
      std::string base = std::string("m") + std::to_string(m);
      std::string src =
          std::string("Module C") + std::to_string(c) + ".M" + std::to_string(m) + "\r\n";
      src += "ModuleInfo \"Version: 1.00\"\r\n";
      if (m > 0) src += std::string("Import ") + ModuleName(c, m - 1) + "\r\n";
      src += "Import brl.blitz\r\nRem\r\nbbdoc: generated\r\nEnd Rem\r\n";
      src += "Type TThing\r\n  Function Make()\r\n  End Function\r\nEnd Type\r\n";
      for (int f = 0; f < kCommandsPerModule; ++f) {
        src += "Function Cmd" + std::to_string(c) + "_" + std::to_string(m) + "_" +
               std::to_string(f) + "%( x:Int, y$ = \"\" )\r\n  Return 0\r\nEnd Function\r\n";
      }
      src += "Private\r\nFunction Hidden()\r\nEnd Function\r\n";
      Write(root / "mod" / (std::string("c") + std::to_string(c) + ".mod") /
                (base + ".mod") / (base + ".bmx"),
            src);
    }
  }
}

// A program whose files import one another and call commands of many modules.
void MakeProgram(const fs::path& folder) {
  for (int f = 0; f < kProgramFiles; ++f) {
    std::string src = "' file " + std::to_string(f) + "\r\n";
    if (f + 1 < kProgramFiles) src += "Import \"part" + std::to_string(f + 1) + ".bmx\"\r\n";
    for (int line = 0; line < kLinesPerFile; ++line) {
      int c = line % kCollections;
      int m = (line * 7 + f) % kModulesPerCollection;
      int cmd = line % kCommandsPerModule;
      src += "Local v" + std::to_string(line) + ":Int = Cmd" + std::to_string(c) + "_" +
             std::to_string(m) + "_" + std::to_string(cmd) + "( x, \"gfx/pic" +
             std::to_string(line) + ".png\" ) ' call\r\n";
    }
    Write(folder / ("part" + std::to_string(f) + ".bmx"), src);
  }
}

struct Fixture {
  Fixture() {
    base = fs::temp_directory_path() / "veltrane-bench";
    fs::remove_all(base);
    MakeInstallation(base / "root");
    MakeProgram(base / "program");
    fs::create_directories(base / "app");
  }
  ~Fixture() { fs::remove_all(base); }
  vt::Text Path(const char* relative) const {
    return vt::FromUtf8((base / relative).generic_string());
  }
  fs::path base;
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

// Nothing to show: the benchmarks measure the work, not a window.
class NoScreen : public vt::Screen {
 public:
  void InformationBox(const vt::Text&) override {}
  void SetStatusText(const vt::Text&) override {}
  void Navigate(const vt::Text&) override {}
  void ClearView() override {}
  bool ShowsPages() const override { return false; }
};

struct Run {
  Run() : app(screen, Files().Path("app")) {
    app.Settings.RootFolder = Files().Path("root");
    app.Settings.RootFolderVerified = true;
  }
  NoScreen screen;
  vt::AppState app;
};

void BM_ScanModFolder(benchmark::State& state) {
  Run run;
  for (auto _ : state) vt::RebuildCatalogue(run.app);
  state.counters["modules"] = static_cast<double>(run.app.Catalogue.ModList.size());
  state.counters["commands"] = run.app.Catalogue.CommandCount;
}
BENCHMARK(BM_ScanModFolder)->Unit(benchmark::kMillisecond);

void BM_ExamineSource(benchmark::State& state) {
  Run run;
  vt::RebuildCatalogue(run.app);
  vt::Text main = Files().Path("program/part0.bmx");
  for (auto _ : state) vt::ExamineSource(run.app, main);
  state.counters["lines"] = kProgramFiles * (kLinesPerFile + 2);
}
BENCHMARK(BM_ExamineSource)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
