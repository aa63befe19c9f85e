#!/usr/bin/env bash
# Installs what is needed, builds, makes the bundled sample clips and converts them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
samples=build/samples
rm -rf "$samples" && mkdir -p "$samples"
./build/tests/make_sample_clips "$samples"
echo "Sample clips in $samples:"
ls -l "$samples"
./build/cli/qvj2avi "$samples"/*.qvj
echo "Written:"
for avi in "$samples"/*.avi; do
  ffprobe -v error -show_entries stream=codec_name,width,height,r_frame_rate,nb_frames,sample_rate,channels \
    -of compact "$avi" | sed "s|^|$(basename "$avi"): |"
done
