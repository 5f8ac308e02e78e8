#!/usr/bin/env bash
# Makes the fuzz inputs too large to keep in the repository, one folder per
# target: lines of a million characters, numbers of a million digits, a
# million blank lines, and pictures at and past the largest side.
set -euo pipefail
out=$1
rm -rf "$out"
for t in picture mask frame animation move character level quotes script replay controls packet lobby; do mkdir -p "$out/$t"; done

# n copies of the text $2
rep() { head -c "$1" < /dev/zero | tr '\0' "$2"; }

# A TGA header asking for w x h, 16 bits a pixel.
header() {
  printf '\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"
  printf "\\x$(printf %02x $(($2 & 255)))\\x$(printf %02x $(($2 >> 8)))"
  printf '\x10\x00'
}

for t in picture mask; do
  { header 4096 4096; rep $((2 * 4096 * 4096)) "\\252"; } > "$out/$t/full-4096x4096"
  { header 4096 4096; rep 1000 "\\37"; } > "$out/$t/short-4096x4096"
  { header 4097 1; rep 8194 "\\177"; } > "$out/$t/too-wide-4097"
done

M=1000000
{ rep $M a; printf '\n100\n'; } > "$out/frame/long-picture-name"
{ printf 'pic\n'; rep $M 9; printf '\n'; rep $M 7; printf ',-'; rep $M 8; printf '\n'; } > "$out/frame/million-digits"
{ printf 'pic\n100\n4,7\n'; rep $M '\n'; } > "$out/frame/million-blank-lines"
{ rep $M 1; printf '\nf\n'; } > "$out/animation/million-digit-loop-flag"
{ printf '1\n'; rep $M f; printf '\n'; } > "$out/animation/long-frame-name"
{ printf '0\nf\n'; rep $M '\n'; } > "$out/animation/million-blank-lines"
{ printf 'loop\n1\n'; rep $M 9; printf '\n'; rep $M a; printf '\n'; } > "$out/move/long-step-and-damage"
{ printf 'loop\n0\n0.'; rep $M 0; printf '1e999999999999\nf\n'; } > "$out/move/tiny-damage"
{ printf 'loop\n0\n0\n'; rep $M '\n'; } > "$out/move/million-blank-lines"
{ printf 'loop\n'; rep $M j; printf '\n'; } > "$out/character/long-move-name"
{ printf 'loop\nstand\n'; rep $M '\n'; } > "$out/character/million-blank-lines"
{ rep $M 4; printf '\n'; rep $M 1; printf ','; rep $M 2; printf '\npanel\nbar\n1,1\n2,2\n'; } > "$out/level/million-digits"
{ printf '20\n0,31\n'; rep $M p; printf '\nbar\n'; } > "$out/level/long-panel-name"
rep $M q > "$out/quotes/one-long-line"
{ rep $M q; printf '\n\n'; } > "$out/quotes/one-long-quote"
rep $M 'x' | sed 's/xx/a /g' > "$out/quotes/half-a-million-words"
rep $M '\n' > "$out/quotes/million-blank-lines"
{ printf '10 down '; rep $M A; printf '\n'; } > "$out/script/long-key-name"
{ rep $M 9; printf ' down X\n'; } > "$out/script/million-digit-time"
rep $M '\n' > "$out/script/million-blank-lines"
awk 'BEGIN { for (i = 1; i <= 20000; i++) printf "%d down X\n%d up X\n", i * 10, i * 10 + 5 }' > "$out/script/forty-thousand-events"
R='inkblot-replay 1\ngame 0.1\ncontent 0123456789abcdef\nargs\n'
{ printf "$R"; rep $M 9; printf '\n'; } > "$out/replay/million-digit-line"
{ printf "$R"; awk 'BEGIN { for (i = 0; i < 200000; i++) print "m 256 66\np 16" }'; printf 'end 200000\n'; } > "$out/replay/two-hundred-thousand-passes"
{ printf "$R"; rep $M '\n'; } > "$out/replay/million-blank-lines"
rep $M '\n' > "$out/controls/million-blank-lines"
{ printf '[player1]\nattack = '; rep $M K; printf '\n'; } > "$out/controls/long-key-name"
awk 'BEGIN { for (i = 1; i <= 20000; i++) printf "[player%d]\nattack = %c\npad-up = b\n", i % 2 + 1, 65 + i % 26 }' > "$out/controls/forty-thousand-entries"

# A packet of inputs a million bytes long.
{ printf 'IF\001\003'; rep $M '\1'; } > "$out/packet/million-inputs"

# Lobby words a million characters long: a message's text, a state's time.
{ printf '\000ib1 data ABCDEF '; rep $M x; } > "$out/lobby/million-character-data"
{ printf '\001ib1 waiting ABCDEF '; rep $M 9; } > "$out/lobby/million-digit-time"
