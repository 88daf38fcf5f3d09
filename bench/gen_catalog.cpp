// kav_gen_catalog ROWS FILE: writes a synthetic MWAnts.dat.
#include <cstdio>
#include <cstdlib>

#include "bench/CatalogGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kav_gen_catalog ROWS FILE\n");
    return 2;
  }
  WriteAntennaFile(argv[2], std::atol(argv[1]));
  return 0;
}
