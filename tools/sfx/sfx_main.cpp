// Synthesises the game's eleven sound effects and writes the sound
// datafile "fgridsfx.dat": object i is the sample of effect i, mono,
// signed 16-bit, 22050 Hz.
//   fg_gen_sfx OUTPUT.dat [PREVIEW_DIR]
// With a preview folder, every effect is also written there as a WAV file
// (NN_name.wav) and a line of figures per effect is printed.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "common/datafile_writer.h"
#include "sfx/synth.h"

namespace {

void put_le(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; i++) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool write_wav(const std::string& path, const std::vector<int16_t>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out = "RIFF";
  put_le(out, 36 + data_bytes, 4);
  out += "WAVEfmt ";
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, 1, 2);  // mono
  put_le(out, sfx::kRate, 4);
  put_le(out, sfx::kRate * 2, 4);
  put_le(out, 2, 2);
  put_le(out, 16, 2);
  out += "data";
  put_le(out, data_bytes, 4);
  for (int16_t s : samples) put_le(out, static_cast<uint16_t>(s), 2);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return (std::fclose(f) == 0) && ok;
}

double to_db(double x) { return x > 0 ? 20 * std::log10(x) : -999; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.dat [PREVIEW_DIR]\n", argv[0]);
    return 2;
  }
  const std::string preview = argc > 2 ? argv[2] : "";
  DatafileWriter dat;
  int index = 0;
  for (const sfx::Effect& e : sfx::effects()) {
    sfx::Finished f = sfx::finish(e.make(), e.fade_in, e.fade_out, e.level_db);
    std::string name = e.name;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    dat.add_sample16(f.samples, sfx::kRate, ("SFX_" + name).c_str());
    if (!preview.empty()) {
      char stem[64];
      std::snprintf(stem, sizeof stem, "/%02d_%s.wav", index, e.name);
      if (!write_wav(preview + stem, f.samples)) {
        std::fprintf(stderr, "cannot write %s%s\n", preview.c_str(), stem);
        return 1;
      }
      sfx::Buffer check(f.samples.size());
      int peak = 0;
      for (size_t i = 0; i < f.samples.size(); i++) {
        check[i] = static_cast<float>(f.samples[i] / 32767.0);
        peak = std::max(peak, std::abs(static_cast<int>(f.samples[i])));
      }
      std::printf("%2d %-12s %5.0f ms  peak %6.1f dBFS  loudness %6.1f dB  gain %+5.1f dB%s\n", index, e.name,
                  1000.0 * static_cast<double>(f.samples.size()) / sfx::kRate, to_db(peak / 32767.0),
                  to_db(sfx::loudness(check)), f.gain_db, f.peak_limited ? "  (peak limited)" : "");
    }
    index++;
  }
  if (!dat.write(argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
