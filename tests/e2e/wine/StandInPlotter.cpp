// A stand-in for gnuplot.exe in the Wine test of mtd-sim.exe: reads the whole script from its
// standard input and writes it into the file that the script's "set output" names, so that
// the test sees what reached the plotter through the pipe.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

int main() {
  const std::string script((std::istreambuf_iterator<char>(std::cin)),
                           std::istreambuf_iterator<char>());
  const std::string key = "set output '";
  const std::size_t start = script.find(key);
  if (start == std::string::npos) return 3;
  const std::size_t from = start + key.size();
  const std::size_t end = script.find('\'', from);
  if (end == std::string::npos) return 3;
  std::FILE* out = std::fopen(script.substr(from, end - from).c_str(), "wb");
  if (out == nullptr) return 4;
  const bool written = std::fwrite(script.data(), 1, script.size(), out) == script.size();
  return std::fclose(out) == 0 && written ? 0 : 5;
}
