#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The long fuzzing run, an hour on the corpora the short runs have grown: 35 minutes of clips
# through ConvertClip, 15 of AVI files opened again, then 10 of clips through the GStreamer
# plugin's demuxer.
set -euo pipefail
bash "$(dirname "$0")/run.sh" 2100 convert_clip
bash "$(dirname "$0")/run.sh" 900 avi_reopen
bash "$(dirname "$0")/run.sh" 600 clip_demuxer
