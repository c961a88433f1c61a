#!/usr/bin/env bash
# Rips every track of a 74-minute disc image to WAV with vantor-cd, and converts the same image
# with "bchunk -w" in the same run, then prints both times.
#
#   bench/rip_bench.sh [VANTOR_CD [MKDISC]]
#   cmake --build --preset default --target rip_bench
#
# Defaults: the binaries of the default preset's build tree. Needs about 2.5 GB in $TMPDIR.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
vantor_cd="${1:-$root/build/default/bin/vantor-cd}"
mkdisc="${2:-$root/build/default/bin/mkdisc}"
command -v bchunk >/dev/null || { echo "rip_bench: bchunk is missing (scripts/install-deps.sh)" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/rip-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# 15 tracks of 22,200 sectors: 333,000 sectors, 74:00 of audio, 783,216,000 bytes.
tracks=15
track_sectors=22200
descriptions=()
for ((i = 0; i < tracks; i++)); do descriptions+=("audio:$track_sectors"); done
"$mkdisc" --out "$work/disc" --name bench --no-cda "${descriptions[@]}" >/dev/null
cue="$work/disc/bench.cue"
bin="$work/disc/bench.bin"
audio_seconds=$((tracks * track_sectors / 75))

now() { date +%s.%N; }
report() { # name start end
    awk -v name="$1" -v start="$2" -v end="$3" -v audio="$audio_seconds" 'BEGIN {
        elapsed = end - start
        printf "%-28s %8.2f s  %7.1fx real time  %7.1f MB/s\n", name, elapsed, audio / elapsed,
               audio * 176400 / elapsed / 1e6 }'
}

echo "image: $tracks tracks, $((tracks * track_sectors)) sectors, $((audio_seconds / 60)):$(printf %02d $((audio_seconds % 60))) of audio, $(stat -c %s "$bin") bytes"

mkdir "$work/rip"
start="$(now)"
for ((track = 1; track <= tracks; track++)); do
    "$vantor_cd" rip "cdda://$cue#track$track.cda" -o "$(printf "%s/rip/track%02d.wav" "$work" "$track")" >/dev/null
done
end="$(now)"
report "vantor-cd rip (WAV)" "$start" "$end"
rm -rf "$work/rip"

mkdir "$work/bchunk"
start="$(now)"
bchunk -w "$bin" "$cue" "$work/bchunk/track" >/dev/null
end="$(now)"
report "bchunk -w" "$start" "$end"
