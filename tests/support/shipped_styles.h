// The style files the build ships, with their pattern counts.
#pragma once

struct ShippedStyleFile {
  const char* name;
  int patterns;
};

constexpr ShippedStyleFile SHIPPED_STYLE_FILES[] = {
    {"fgboards.dat", 8},    {"fgboards-br.dat", 7}, {"fgboards-ca.dat", 6}, {"fgboards-cu.dat", 6}, {"fgboards-ht.dat", 5},
    {"fgboards-hx.dat", 7}, {"fgboards-oc.dat", 6}, {"fgboards-pi.dat", 8}, {"fgboards-tr.dat", 6}};
