#!/usr/bin/env bash
# The long fuzzing run: an hour, on the corpus the short runs have grown.
exec bash "$(dirname "$0")/run.sh" 3600
