#include "input_generator.h"

#include <fstream>
#include <random>
#include <string_view>

namespace bench {

namespace {

fs::path Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string N(int n) { return std::to_string(n); }

// Joins pieces by appending (GCC 12 warns falsely about chains of +).
std::string J(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

// Module k lies in brl.mod for even k and in pub.mod for odd k.
std::string Collection(int k) { return k % 2 ? "pub" : "brl"; }
std::string ModuleName(int k) { return J({Collection(k), ".s", N(k)}); }
std::string Command(int k, int c) { return J({"s", N(k), "_c", N(c)}); }

}  // namespace

std::vector<fs::path> WriteInstallation(const fs::path& root, int modules, int commands,
                                        int core) {
  std::mt19937 random(11);
  std::vector<fs::path> written;
  for (int k = 0; k < modules; ++k) {
    std::string text = J({"Module ", ModuleName(k), "\r\nModuleInfo \"Version: 1.0\"\r\n"});
    text += "Import brl.blitz\r\n";
    int reach = k < core ? k : core;
    int imports = reach == 0 ? 0 : static_cast<int>(random() % 4);
    for (int i = 0; i < imports; ++i) {
      text += J({"Import ", ModuleName(static_cast<int>(random() % reach)), "\r\n"});
    }
    text += "Rem\r\nbbdoc: generated module\r\nEnd Rem\r\n";
    text += "Type TThing\r\n  Function Make:TThing()\r\n  End Function\r\nEnd Type\r\n";
    for (int c = 0; c < commands; ++c) {
      text += J({"Function ", Command(k, c), "%( x:Int, name$ = \"\" )\r\n  Return x\r\nEnd Function\r\n"});
    }
    text += "Private\r\nFunction Hidden()\r\nEnd Function\r\n";
    std::string base = J({"s", N(k)});
    written.push_back(Write(root / "mod" / J({Collection(k), ".mod"}) / J({base, ".mod"}) /
                                J({base, ".bmx"}),
                            text));
  }
  return written;
}

std::vector<fs::path> WriteImportChain(const fs::path& root, int length) {
  std::vector<fs::path> written;
  for (int k = 1; k <= length; ++k) {
    std::string text = J({"Module BRL.M", N(k), "\r\nImport BRL.M", N(k + 1), "\r\nFunction F",
                          N(k), "()\r\nEnd Function\r\n"});
    written.push_back(Write(
        root / "mod" / "brl.mod" / J({"m", N(k), ".mod"}) / J({"m", N(k), ".bmx"}), text));
  }
  return written;
}

std::vector<fs::path> WriteProgram(const fs::path& folder, int files, int lines, int modules,
                                   int commands) {
  std::mt19937 random(7);
  std::vector<fs::path> written;
  int perFile = lines / files;
  for (int f = 0; f < files; ++f) {
    std::string text = J({"' generated file ", N(f), "\r\n"});
    if (f == 0) text += "SuperStrict\r\n";
    // A tree: file f names files 2f+1 (imported) and 2f+2 (included).
    // Odd files lie beside main.bmx, even ones in inc/; names are relative.
    std::string up = f > 0 && f % 2 == 0 ? "../" : "";
    if (2 * f + 1 < files) text += J({"Import \"", up, "f", N(2 * f + 1), ".bmx\"\r\n"});
    if (2 * f + 2 < files) text += J({"Include \"", up, "inc/f", N(2 * f + 2), ".bmx\"\r\n"});
    text += J({"Import ", ModuleName(static_cast<int>(random() % modules)), "\r\n"});
    for (int line = 0; line < perFile; ++line) {
      int k = static_cast<int>(random() % modules);
      int c = static_cast<int>(random() % commands);
      switch (line % 10) {
        case 0: text += "\r\n"; break;
        case 1: text += J({"' ", Command(k, c), " is called below\r\n"}); break;
        case 2:
          text += J({"Local img", N(line), ":TImage = LoadImage(\"gfx/pic", N(line), ".png\")\r\n"});
          break;
        case 3: text += J({"If v", N(line), " > 3 Then ", Command(k, c), "(v", N(line), ")\r\n"}); break;
        case 9: text += line % 100 == 9 ? "Rem\r\nold code\r\nEnd Rem\r\n" : "PlaySound(LoadSound(\"sfx/a.ogg\"))\r\n"; break;
        default:
          text += J({"Local v", N(line), ":Int = ", Command(k, c), "( x, \"name\" ) ' call\r\n"});
      }
    }
    std::string name = J({"f", N(f), ".bmx"});
    fs::path path = f == 0 ? folder / "main.bmx" : f % 2 ? folder / name : folder / "inc" / name;
    written.push_back(Write(path, text));
  }
  return written;
}

std::vector<fs::path> WriteDirectiveChain(const fs::path& folder, int depth,
                                          const std::string& directive) {
  std::vector<fs::path> written;
  for (int k = 0; k <= depth; ++k) {
    std::string text = k < depth ? J({directive, " \"f", N(k + 1), ".bmx\"\r\n"}) : "Print \"end\"\r\n";
    written.push_back(Write(folder / J({"f", N(k), ".bmx"}), text));
  }
  return written;
}

size_t ReadAll(const std::vector<fs::path>& files) {
  static char buffer[65536];
  size_t total = 0;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) total += static_cast<size_t>(in.gcount());
  }
  return total;
}

}  // namespace bench
