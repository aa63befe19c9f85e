#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is needed, builds, makes the bundled sample clips and converts them: in the
# batch window when a display is available, else with qvj2avi.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)" --target qvj2avi make_sample_clips
samples=build/samples
rm -rf "$samples" && mkdir -p "$samples"
./build/tests/make_sample_clips "$samples"
echo "Sample clips in $samples:"
ls -l "$samples"
echo
./build/cli/qvj2avi --info "$samples"/*.qvj
echo
# With a display the batch window opens on the samples (its input folder is the current
# directory); without one they are converted headlessly.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build -j "$(nproc)" --target reelcraft-batch
  echo "Opening the batch window on $samples"
  (cd "$samples" && ../gui/reelcraft-batch)
  exit 0
fi
./build/cli/qvj2avi "$samples"/*.qvj
echo
echo "Written:"
for avi in "$samples"/*.avi; do
  ffprobe -v error -count_packets \
    -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,nb_read_packets,sample_rate,channels \
    -of compact "$avi" | sed "s|^|$(basename "$avi"): |"
done
