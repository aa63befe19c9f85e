#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The long fuzzing run, an hour on the corpora the short runs have grown: 45 minutes of clips
# through ConvertClip, then 15 of clips through the GStreamer plugin's demuxer.
set -euo pipefail
bash "$(dirname "$0")/run.sh" 2700 convert_clip
bash "$(dirname "$0")/run.sh" 900 clip_demuxer
