#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  for (const char* n : {"fire.WAV", "ban.WAV", "ban2.WAV", "crash.WAV"})
    std::ofstream(std::string(argv[1]) + "/" + n, std::ios::binary);
  return 0;
}
