#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary folder, once through DESTDIR as a package is made and once
# under a prefix of its own; checks that every file is there and valid for the desktop's tools
# (those that are present), that the names, versions and licences agree, that the completions
# offer what `qvj2avi --help` lists, runs the thumbnailer as a file manager would, and has
# GStreamer load the plugin from where it is installed when the build has one.
#   install_test.sh SOURCE_FOLDER BUILD_FOLDER MAKE_SAMPLE_CLIPS LUPDATE ZSH_FOLDER [PLUGIN_FOLDER]
# (the last two below the prefix)
set -euo pipefail
source=$1
build=$2
make_clips=$3
lupdate=$4
zsh_dir=$5
plugins=${6:-}
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
  share/applications/org.orlancor.Reelcraft.desktop \
  share/icons/hicolor/scalable/apps/org.orlancor.Reelcraft.svg share/icons/hicolor/128x128/apps/org.orlancor.Reelcraft.png \
  share/mime/packages/reelcraft-qvj.xml share/thumbnailers/reelcraft.thumbnailer \
  share/metainfo/org.orlancor.Reelcraft.metainfo.xml share/doc/reelcraft/LICENSE \
  share/man/man1/reelcraft.1 share/man/man1/qvj2avi.1 share/man/man1/reelcraft-thumbnailer.1 \
  share/bash-completion/completions/qvj2avi "$zsh_dir/_qvj2avi" \
  share/fish/vendor_completions.d/qvj2avi.fish share/reelcraft/translations/reelcraft_de.qm; do
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

# A translation for each that the source has, complete for every text of the code as it is now.
mapfile -t texts < <(find "$source"/{app,desktop,engine,sys,ui,gui} -name '*.cpp')
for ts in "$source"/gui/translations/*.ts; do
  qm=$root/share/reelcraft/translations/$(basename "${ts%.ts}").qm
  [ -s "$qm" ] || fail "$qm is not installed"
  cp "$ts" "$work/current.ts"
  "$lupdate" -silent -tr-function-alias translate+=Translate -locations none -no-obsolete \
    "${texts[@]}" -ts "$work/current.ts" || fail "lupdate"
  ! grep -q 'type="unfinished"' "$work/current.ts" || fail "$ts lacks texts of the code"
done

# The licence: MIT for the program, in every source file, CC0 for the metadata.
metainfo=$root/share/metainfo/org.orlancor.Reelcraft.metainfo.xml
head -n1 "$root/share/doc/reelcraft/LICENSE" | grep -qx 'MIT License' || fail "LICENSE is not MIT"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the project licence"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" || fail "the metadata licence"
while IFS= read -r -d '' file; do
  head -n2 "$file" | grep -q 'SPDX-License-Identifier: MIT$' || fail "$file has no SPDX line"
done < <(find "$source" \( -name '.git' -o -name 'build*' -o -path "$build" \) -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cpp.in' -o -name '*.h.in' -o -name CMakeLists.txt -o \
  -name '*.sh' -o -name '*.bash' -o -name '*.fish' -o -name '_qvj2avi' -o -path '*/.ci/run' \) \
  -print0)

# One identity: the entry, the icon and the metainfo are named by the application id, and every
# program gives the release's version.
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
entry=$root/share/applications/$id.desktop
[ "$id" = org.orlancor.Reelcraft ] || fail "the metainfo's id is '$id'"
[ -f "$entry" ] || fail "no desktop entry named $id.desktop"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo launches another entry"
grep -q "<icon type=\"stock\">$id</icon>" "$metainfo" || fail "the metainfo names another icon"
grep -qx "Icon=$id" "$entry" || fail "the entry names another icon"
release=$(grep -o '<release version="[^"]*" date="[0-9-]*"' "$metainfo" | head -n1 |
  sed 's/.*version="\([^"]*\)".*/\1/')
[ "$release" = 1.5 ] || fail "the metainfo's release is '$release'"
grep -q '<release version="1.5" date="[0-9-]*">' "$metainfo" && grep -q '</description>' \
  <(sed -n '/<release version="1.5"/,/<\/release>/p' "$metainfo") || fail "the release has no notes"
for program in reelcraft qvj2avi reelcraft-thumbnailer; do
  said=$("$root/bin/$program" --version) || fail "$program --version failed"
  [ "$said" = "$program $release" ] || fail "$program --version says '$said'"
done

# The entry: the clip type, the file as %f, the two other verbs as actions, keywords.
value() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" "$entry"; }
[ "$(value 'Desktop Entry' MimeType)" = 'video/x-qvj;' ] || fail "the entry's MimeType"
[ "$(value 'Desktop Entry' Exec)" = 'reelcraft %f' ] || fail "the entry's Exec"
[ "$(value 'Desktop Entry' Actions)" = 'create;createto;' ] || fail "the entry's actions"
[ -n "$(value 'Desktop Entry' Keywords)" ] || fail "the entry has no keywords"
[[ $(value 'Desktop Entry' Categories) == AudioVideo\;Video\;* ]] || fail "the entry's categories"
[ "$(value 'Desktop Action create' Exec)" = 'reelcraft %f /c' ] || fail "the create action"
[ "$(value 'Desktop Action create' Name)" = 'Create AVI in My Documents' ] || fail "create's name"
[ "$(value 'Desktop Action createto' Exec)" = 'reelcraft %f /ct' ] || fail "the createto action"
[ "$(value 'Desktop Action createto' Name)" = 'Create AVI' ] || fail "createto's name"

# The desktop's own validators have nothing to say. AppStream's pedantic hint about capitals in
# the id is the one exception: the id is the program's name on the desktop, chosen so.
for file in "$root"/share/applications/*.desktop; do
  if have desktop-file-validate; then
    said=$(desktop-file-validate "$file" 2>&1) && [ -z "$said" ] || fail "$file: $said"
  fi
done
if have appstreamcli; then
  appstreamcli validate --pedantic --no-net "$metainfo" > "$work/appstream.log" 2>&1 ||
    fail "the metainfo does not validate"
  said=$(grep -E '^[EWIP]: ' "$work/appstream.log" |
    grep -vx "P: $id:[0-9]*: cid-contains-uppercase-letter $id" || true)
  [ -z "$said" ] || fail "appstreamcli: $said"
fi

# reelcraft answers --help and --version without a display, and says in one line that it
# needs one, pointing to qvj2avi.
"$root/bin/reelcraft" --help | grep -q '^Usage: reelcraft' || fail "reelcraft --help"
status=0
said=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/nohome" \
  timeout 60 "$root/bin/reelcraft" 2>&1) || status=$?
[ "$status" = 1 ] || fail "reelcraft without a display ended with $status"
[ "$(wc -l <<< "$said")" = 1 ] && [[ $said == *qvj2avi* ]] || fail "without a display: $said"
[ ! -e "$work/nohome" ] || fail "reelcraft without a display wrote into the home folder"
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

# The completions of bash, zsh and fish offer every option that --help lists, and .qvj files and
# folders for the clips.
mkdir -p "$work/clips/folder"
"$make_clips" "$work/clips" > /dev/null
: > "$work/clips/notes.txt"

# A player's view of a clip through the installed plugin: its streams and its length.
if [ -n "$plugins" ] && have gst-discoverer-1.0; then
  found=$(GST_PLUGIN_PATH=$root/$plugins GST_REGISTRY=$work/player-registry.bin \
    gst-discoverer-1.0 "$work/clips/harbour_320x240_15fps_sound.qvj" || true)
  grep -q 'Duration: 0:00:02.0' <<< "$found" && grep -q 'video #' <<< "$found" &&
    grep -q 'audio #' <<< "$found" || fail "gst-discoverer-1.0 sees: $found"
fi
options=$("$root/bin/qvj2avi" --help | grep -E '^ +-' |
  grep -oE '(^ +|, )--?[A-Za-z][A-Za-z-]*' | sed 's/^[ ,]*//' | sort -u)
[ "$(wc -l <<< "$options")" -ge 10 ] || fail "--help lists only: $options"
clips=$(cd "$work/clips" && ls -d -- *.qvj folder | sort)
check_completion() { # SHELL OPTIONS CLIPS
  [ "$(grep -xF -f <(sort -u <<< "$2") <<< "$options")" = "$options" ] ||
    fail "$1 offers the options: $2"
  [ "$(sed 's:/$::' <<< "$3" | sort -u)" = "$clips" ] || fail "$1 offers as clips: $3"
}
bash_offers() {
  (cd "$work/clips" && bash -c 'source "$1"; COMP_WORDS=(qvj2avi "$2"); COMP_CWORD=1
    _qvj2avi; printf "%s\n" "${COMPREPLY[@]}"' _ "$root/share/bash-completion/completions/qvj2avi" "$1")
}
check_completion bash "$(bash_offers -)" "$(bash_offers '')"
if have zsh; then
  zsh_offers() {
    rm -f "$work/zsh.hits"
    (cd "$work/clips" && zsh -f -c '
      zmodload zsh/zpty
      zpty z "zsh -f -i"
      zpty -w z "PS1=; fpath=($1 \$fpath); autoload -Uz compinit; compinit -u -D"
      zpty -w z "compadd() { local -a hits; builtin compadd -O hits \"\$@\";
        print -rl -- \$hits >> $2; builtin compadd \"\$@\"; }"
      zpty -n -w z "qvj2avi $3"$'"'"'\t'"'"'
      for i in {1..100}; do [[ -s $2 ]] && break; sleep 0.1; done; sleep 0.5
      zpty -d z' _ "$root/$zsh_dir" "$work/zsh.hits" "$1")
    cat "$work/zsh.hits" 2> /dev/null
  }
  check_completion zsh "$(zsh_offers -)" "$(zsh_offers '')"
else
  echo "zsh not found: its completion is not tried (Debian: zsh)"
fi
if have fish; then
  fish_offers() {
    (cd "$work/clips" && fish --no-config -c 'source $argv[1]; complete -C"qvj2avi $argv[2]"' \
      "$root/share/fish/vendor_completions.d/qvj2avi.fish" "$1") | cut -f1
  }
  check_completion fish "$(fish_offers -)" "$(fish_offers '')"
else
  echo "fish not found: its completion is not tried (Debian: fish)"
fi

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
