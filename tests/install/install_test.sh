#!/usr/bin/env bash
# Installs the build into a temporary folder, once through DESTDIR as a package is made and once
# under a prefix of its own; checks that every file is there and valid for the desktop's tools
# (those that are present), runs the thumbnailer as a file manager would, and has GStreamer load
# the plugin from where it is installed when the build has one.
#   install_test.sh BUILD_FOLDER MAKE_SAMPLE_CLIPS [PLUGIN_FOLDER below the prefix]
set -euo pipefail
build=$1
make_clips=$2
plugins=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
have() { command -v "$1" > /dev/null; }

DESTDIR=$work/dest cmake --install "$build" --prefix /usr > /dev/null
root=$work/dest/usr
for file in bin/reelcraft bin/qvj2avi bin/reelcraft-thumbnailer \
  share/applications/reelcraft.desktop \
  share/icons/hicolor/scalable/apps/reelcraft.svg share/icons/hicolor/128x128/apps/reelcraft.png \
  share/mime/packages/reelcraft-qvj.xml share/thumbnailers/reelcraft.thumbnailer \
  share/metainfo/org.orlancor.Reelcraft.metainfo.xml \
  share/man/man1/reelcraft.1 share/man/man1/qvj2avi.1 \
  share/bash-completion/completions/qvj2avi; do
  [ -f "$root/$file" ] || fail "$file is not installed"
done
[ -z "$(find "$work/dest" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "files outside the prefix"
grep -qx 'Exec=/usr/bin/reelcraft-thumbnailer -s %s %i %o' "$root/share/thumbnailers/reelcraft.thumbnailer" ||
  fail "the thumbnailer is not named where it is installed"
if [ -n "$plugins" ]; then
  if [ ! -f "$root/$plugins/libgstreelcraft.so" ]; then
    fail "the GStreamer plugin is not installed in $plugins"
  elif have gst-inspect-1.0; then
    GST_PLUGIN_SYSTEM_PATH=$root/$plugins GST_REGISTRY=$work/registry.bin \
      gst-inspect-1.0 qvjdemux > /dev/null || fail "GStreamer does not load the installed plugin"
  else
    echo "gst-inspect-1.0 not found (Debian: gstreamer1.0-tools): the plugin is not loaded"
  fi
fi

for entry in "$root"/share/applications/*.desktop; do
  have desktop-file-validate && { desktop-file-validate "$entry" || fail "$entry"; }
done
if have appstreamcli; then
  appstreamcli validate --no-net "$root"/share/metainfo/*.xml > "$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "the metainfo does not validate"; }
fi
if have update-mime-database; then
  mkdir -p "$work/mime/packages"
  cp "$root/share/mime/packages/reelcraft-qvj.xml" "$work/mime/packages/"
  update-mime-database "$work/mime" || fail "the MIME package"
  grep -q '^video/x-qvj:\*\.qvj$' "$work/mime/globs" || fail "the MIME package's glob"
  grep -q 'QVAV01' "$work/mime/magic" || fail "the MIME package's magic"
fi
if have man; then
  for page in "$root"/share/man/man1/*.1; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2> "$work/man.log")
    [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "$page has warnings"; }
    grep -q '^NAME' <<< "$text" || fail "$page renders no NAME section"
  done
fi

# The completion offers the options and, for the clips, .qvj files.
mkdir -p "$work/clips"
"$make_clips" "$work/clips" > /dev/null
completions=$(cd "$work/clips" && bash -c '
  source "$1"
  COMP_WORDS=(qvj2avi --ou); COMP_CWORD=1; _qvj2avi; echo "${COMPREPLY[*]}"
  COMP_WORDS=(qvj2avi -q st); COMP_CWORD=2; _qvj2avi; echo "${COMPREPLY[*]}"
' _ "$root/share/bash-completion/completions/qvj2avi")
[ "$completions" = $'--output\nstreet_320x240_15fps.qvj' ] || fail "completion gave: $completions"

# Under a prefix of its own, the thumbnailer's entry names the installed program: run its Exec
# line with the field codes filled in, as a file manager does.
cmake --install "$build" --prefix "$work/prefix" > /dev/null
entry=$work/prefix/share/thumbnailers/reelcraft.thumbnailer
grep -qx '\[Thumbnailer Entry\]' "$entry" || fail "the thumbnailer entry has no group"
grep -qx 'MimeType=video/x-qvj;' "$entry" || fail "the thumbnailer entry's type"
read -r -a argv <<< "$(sed -n 's/^Exec=//p' "$entry")"
for i in "${!argv[@]}"; do
  case ${argv[i]} in
  %s) argv[i]=128 ;;
  %i) argv[i]=$work/clips/harbour_320x240_15fps_sound.qvj ;;
  %o) argv[i]=$work/thumbnail.png ;;
  esac
done
"${argv[@]}" || fail "the thumbnailer failed"
size=$(file -b "$work/thumbnail.png" 2> /dev/null | grep -o '[0-9]* x [0-9]*' || true)
[ "$size" = "128 x 96" ] || fail "the thumbnail is '$size', not 128 x 96"

[ "$failures" = 0 ] && echo "installation complete and valid"
exit "$failures"
