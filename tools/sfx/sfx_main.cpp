// Placeholder, replaced by the real synthesiser.
#include "common/datafile_writer.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  DatafileWriter dat;
  for (int i = 0; i < 11; i++) dat.add_sample16(std::vector<int16_t>(2205, 0), 22050);
  return dat.write(argv[1]) ? 0 : 1;
}
