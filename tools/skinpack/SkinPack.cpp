// skinpack: packs a folder of skin sources into a skin package. Entry names are the paths
// relative to the folder with backslashes; entries are sorted by name so that the output
// depends only on the sources. Files and folders whose names start with a dot are skipped;
// entry names must be plain ASCII. A failed run leaves an existing package as it was.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "PackageWriter.h"

namespace fs = std::filesystem;

namespace {

const size_t kMaxName = 259;  // longer names would be cut in the reader's entry record

int Usage() {
  std::cerr << "usage: skinpack [--key KEY] <source-folder> <package-file>\n";
  return 2;
}

bool Hidden(const fs::path& relative) {
  for (const fs::path& part : relative)
    if (!part.empty() && part.string()[0] == '.') return true;
  return false;
}

bool ReadFile(const fs::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::string key = skinpack::DefaultKey();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--key" && i + 1 < argc) key = argv[++i];
    else if (a.size() > 1 && a[0] == '-') return Usage();
    else args.push_back(a);
  }
  if (args.size() != 2 || key.empty()) return Usage();
  const fs::path source(args[0]), output(args[1]);

  std::error_code ec;
  if (!fs::is_directory(source, ec)) {
    std::cerr << "skinpack: not a folder: " << source << "\n";
    return 1;
  }
  std::vector<skinpack::Entry> entries;
  for (fs::recursive_directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
    fs::path relative = fs::relative(it->path(), source);
    if (Hidden(relative)) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    skinpack::Entry e;
    e.name = relative.generic_string();
    std::replace(e.name.begin(), e.name.end(), '/', '\\');
    // The reader widens names with the target's ANSI code page, which a name taken from
    // this file system (UTF-8) would not survive: such an entry could never be found.
    if (std::any_of(e.name.begin(), e.name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      std::cerr << "skinpack: entry name is not plain ASCII: " << e.name << "\n";
      return 1;
    }
    if (e.name.size() > kMaxName) {
      std::cerr << "skinpack: entry name longer than " << kMaxName << " bytes: " << e.name << "\n";
      return 1;
    }
    if (!ReadFile(it->path(), e.data)) {
      std::cerr << "skinpack: cannot read " << it->path() << "\n";
      return 1;
    }
    entries.push_back(std::move(e));
  }
  if (ec) {
    std::cerr << "skinpack: cannot list " << source << ": " << ec.message() << "\n";
    return 1;
  }
  std::sort(entries.begin(), entries.end(),
            [](const skinpack::Entry& a, const skinpack::Entry& b) { return a.name < b.name; });

  std::string package = skinpack::BuildPackage(entries, key);
  if (package.size() > 0x7FFFFFF0u) {
    std::cerr << "skinpack: package too large\n";
    return 1;
  }
  if (output.has_parent_path()) fs::create_directories(output.parent_path(), ec);
  fs::path temp = output;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(package.data(), static_cast<std::streamsize>(package.size()));
    out.close();  // a small package is written only here: its errors show after the close
    if (!out) {
      std::cerr << "skinpack: cannot write " << temp << "\n";
      fs::remove(temp, ec);
      return 1;
    }
  }
  fs::rename(temp, output, ec);
  if (ec) {
    std::cerr << "skinpack: cannot replace " << output << ": " << ec.message() << "\n";
    fs::remove(temp, ec);
    return 1;
  }
  std::cout << "skinpack: " << entries.size() << " entries, " << package.size() << " bytes -> " << output.string()
            << "\n";
  return 0;
}
