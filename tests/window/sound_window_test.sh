#!/usr/bin/env bash
# The real game plays its sounds when they happen: under Xvfb, with SDL's
# disk audio driver recording everything the game plays and the music
# turned down to 0 in the player's sound.ini, rook walks up to quill and
# punches. The content is a copy of the default one without "swish.wav"
# and "plip.wav", so that only the chime and the splat sound (the missing
# files are named once each). The game (INKBLOT_SOUND_LOG set) writes at
# which audio frame of the recording each effect starts; the recording
# must be silent before the chime and in the 50 ms before the splat, and
# loud within the 50 ms after it. Then the game runs with an audio driver
# that does not exist: it says "no audio device" once, blames no sound
# file, plays on and closes with status 0.
# usage: sound_window_test.sh GAME DATA_DIR
set -euo pipefail
game=$(realpath "$1")
source "$(dirname "$0")/window_lib.sh"
data="$work/data"
cp -r "$2" "$data"
rm "$data/swish.wav" "$data/plip.wav"
fail() { echo "FAIL: $*" >&2; cat "$work/game.log" >&2 2>/dev/null || true; exit 1; }
start_xvfb
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/inkblot-fighter"
printf 'effects=100\nmusic=0\n' >"$XDG_CONFIG_HOME/inkblot-fighter/sound.ini"

# Starts the game; waits for its window and for the splash to be drawn.
start_game() {
  (cd "$data" && exec "$game" --data .) >"$work/game.log" 2>&1 &
  game_pid=$!
  find_window
  for _ in $(seq 30); do
    sleep 0.5
    import -window root "$work/screen.png"
    awk -v m="$(convert "$work/screen.png" -format '%[fx:mean]' info:)" 'BEGIN { exit !(m > 0.05) }' && break
  done
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

close_game() {
  xdotool key Escape
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [[ $status -eq 0 ]] || fail "exit status $status"
}

# The largest sample (absolute, 16-bit) of `frames` frames from `first` on.
peak() {
  od -An -v -td2 -j $(($1 * frame_bytes)) -N $(($2 * frame_bytes)) "$work/audio.raw" |
    awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > p) p = v } } END { print p + 0 }'
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" INKBLOT_SOUND_LOG=1 start_game
xdotool key Insert
# Walk in and punch, again if the first punch fell short.
for _ in 1 2 3; do
  xdotool keydown b; sleep 1.8; xdotool keyup b
  xdotool key x; sleep 1.0
  grep -q 'sound <[^>]*hit.wav> starts' "$work/game.log" && break
done
close_game

audio=$(grep -m1 'Inkblot Fighter: audio ' "$work/game.log") || fail "the audio was not opened"
rate=$(sed -E 's/.*audio ([0-9]+) Hz.*/\1/' <<<"$audio")
frame_bytes=$(sed -E 's/.* ([0-9]+) bytes a frame.*/\1/' <<<"$audio")
[[ $(sed -E 's/.*, ([0-9]+) channels.*/\1/' <<<"$audio") -ge 1 ]] || fail "odd audio: $audio"
first=$(grep -m1 -oE 'starts at audio frame [0-9]+' "$work/game.log" | grep -oE '[0-9]+$') ||
  fail "no sound was played"
splat=$(grep -m1 -E 'sound <[^>]*hit.wav> starts' "$work/game.log" | grep -oE '[0-9]+$') ||
  fail "no punch landed"
window=$((rate / 20))  # 50 ms
[[ $(stat -c %s "$work/audio.raw") -ge $(((splat + window) * frame_bytes)) ]] ||
  fail "the recording ends before the splat"
[[ $(grep -c 'sound file <swish.wav> not found' "$work/game.log") -eq 1 ]] || fail "swish.wav not named once"
[[ $(grep -c 'sound file <plip.wav> not found' "$work/game.log") -eq 1 ]] || fail "plip.wav not named once"
quiet=$(peak $((first > window ? first - window : 0)) $((first > window ? window : first)))
before=$(peak $((splat - window)) "$window")
loud=$(peak "$splat" "$window")
echo "audio: $rate Hz, $frame_bytes bytes a frame; chime at frame $first, splat at frame $splat"
echo "peaks: before the chime $quiet, 50 ms before the splat $before, 50 ms from the splat $loud"
((quiet < 64)) || fail "the recording is not silent before the first effect (music 0)"
((before < 64)) || fail "the recording is not silent before the splat"
((loud > 2000)) || fail "the recording is silent in the 50 ms after the splat"

# No audio device: said once, and the game plays on.
SDL_AUDIODRIVER=no-such-driver start_game
xdotool key Insert
sleep 0.5
close_game
[[ $(grep -c 'no audio device' "$work/game.log") -eq 1 ]] || fail "no audio device was not said once"
! grep -q 'sound file <' "$work/game.log" || fail "a sound file was blamed with no audio device to play it"
echo "no audio device: said once, no sound file blamed; the game played on and closed with status 0"
