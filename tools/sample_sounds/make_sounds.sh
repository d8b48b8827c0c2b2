#!/usr/bin/env bash
# Writes the sample's sounds into FOLDER: the twenty interface and game effects as
# short WAV files synthesised with sox, each with a sound of its own, and the title
# music "splash.mp3", a slow river chord encoded with lame.
#   make_sounds.sh FOLDER
set -euo pipefail
out=${1:?usage: make_sounds.sh FOLDER}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

wav() {  # name, then sox synth and effect arguments
  local name=$1; shift
  sox -q -V1 -D -n -r 22050 -c 1 -b 16 "$out/$name" "$@"
}

wav click.wav          synth 0.04 sine 1800 fade 0 0.04 0.03
wav inventory.wav      synth 0.18 pinknoise lowpass 2200 fade 0.02 0.18 0.1
wav cash.wav           synth 0.25 sine 2600:3400 tremolo 40 90 fade 0 0.25 0.15
wav quest.wav          synth 0.6 sine 523 sine 659 remix - fade 0 0.6 0.3
wav door.wav           synth 0.5 brownnoise lowpass 400 fade 0.05 0.5 0.3
wav locked.wav         synth 0.12 square 180 fade 0 0.12 0.06
wav unlock.wav         synth 0.2 square 420:620 fade 0 0.2 0.1
wav melee_miss.wav     synth 0.22 whitenoise highpass 1500 fade 0.05 0.22 0.15
wav melee_hit.wav      synth 0.15 brownnoise lowpass 900 overdrive 10 fade 0 0.15 0.1
wav shoot.wav          synth 0.3 whitenoise bandpass 2500 400 fade 0 0.3 0.25
wav death.wav          synth 1.0 sawtooth 220:80 lowpass 1200 fade 0 1.0 0.6
wav spell.wav          synth 0.7 sine 880:1320 tremolo 12 60 fade 0.1 0.7 0.3
wav spell_aid.wav      synth 0.8 sine 660:990 sine 990:1320 remix - fade 0.1 0.8 0.4
wav spell_attack.wav   synth 0.5 sawtooth 300:900 lowpass 3000 fade 0 0.5 0.2
wav spell_summon.wav   synth 0.9 triangle 110:330 tremolo 6 70 fade 0.2 0.9 0.4
wav spell_teleport.wav synth 0.6 sine 1500:200 phaser 0.8 0.7 3 0.5 2 -t fade 0 0.6 0.2
wav song.wav           synth 1.2 triangle 392 triangle 494 triangle 587 remix - fade 0.1 1.2 0.5
wav sneakon.wav        synth 0.3 sine 700:350 fade 0 0.3 0.15
wav sneakoff.wav       synth 0.3 sine 350:700 fade 0 0.3 0.15
# Two soft steps on planks; the effect loops while the party walks.
sox -q -V1 -D -n -r 22050 -c 1 -b 16 "$tmp/step.wav" synth 0.09 brownnoise lowpass 500 fade 0 0.09 0.08
sox -q -V1 -D -n -r 22050 -c 1 -b 16 "$tmp/rest.wav" trim 0 0.26
sox -q -V1 -D "$tmp/step.wav" "$tmp/rest.wav" "$tmp/step.wav" "$tmp/rest.wav" "$out/footsteps.wav"

# The title music: an open fifth over a low drone, swelling and fading, 6 seconds.
sox -q -V1 -D -n -r 44100 -c 2 -b 16 "$tmp/splash.wav" synth 6 sine 110 sine 165 sine 220 sine 330 remix 1,2 3,4 \
  tremolo 0.5 30 fade 1.5 6 2 gain -6
lame --quiet -b 64 "$tmp/splash.wav" "$out/splash.mp3"

# Ambient loops of the chapter's places, encoded with lame like the title music.
loop() {  # name, seconds, then sox synth and effect arguments
  local name=$1 seconds=$2; shift 2
  sox -q -V1 -D -n -r 22050 -c 1 -b 16 "$tmp/$name.wav" synth "$seconds" "$@"
  lame --quiet -b 32 "$tmp/$name.wav" "$out/$name.mp3"
}
loop water_trickle 3 pinknoise highpass 1200 lowpass 5000 tremolo 7 40 gain -14
loop river_flow 4 brownnoise lowpass 700 tremolo 0.3 30 gain -10
loop reed_wind 4 pinknoise bandpass 900 600 tremolo 0.2 60 gain -16
loop frogs_night 3 square 220 tremolo 9 90 lowpass 1500 gain -22
