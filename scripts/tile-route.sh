#!/usr/bin/env bash
# Lays a route model NX by NZ times side by side, each copy shifted by the model's extent: a bigger
# town at the same density, for the benchmarks. Rewrites the file in place.
#
#   scripts/tile-route.sh Dane/Trasy/Test/Plansza.qx 3x2
set -euo pipefail
file=$1 tiles=$2
# After the count and the label, 16 values a triangle: x y z of three vertices, s t of three, texture.
awk -v nx="${tiles%x*}" -v nz="${tiles#*x}" '
  NR == 1 { next }
  NR == 2 { label = $0; next }
  { for (i = 1; i <= NF; ++i) v[n++] = $i }
  END {
    t = int(n / 16)
    for (i = 0; i < t * 16; i += 16)
      for (k = 0; k < 9; k += 3) {
        x = v[i + k]; z = v[i + k + 2]
        if (i == 0 && k == 0 || x < x0) x0 = x; if (i == 0 && k == 0 || x > x1) x1 = x
        if (i == 0 && k == 0 || z < z0) z0 = z; if (i == 0 && k == 0 || z > z1) z1 = z
      }
    print t * nx * nz; print label
    for (a = 0; a < nx; ++a) for (b = 0; b < nz; ++b)
      for (i = 0; i < t * 16; i += 16) {
        line = ""
        for (k = 0; k < 16; ++k) {
          w = v[i + k]
          if (k < 9 && k % 3 == 0) w += a * (x1 - x0)
          if (k < 9 && k % 3 == 2) w += b * (z1 - z0)
          line = line (k ? " " : "") sprintf(k < 15 ? "%.9g" : "%d", w)
        }
        print line
      }
  }' "$file" >"$file.tiled"
mv "$file.tiled" "$file"
