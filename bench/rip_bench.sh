#!/usr/bin/env bash
# Rips a 74-minute disc image with vantor-cd, to WAV and to FLAC, and converts the same image with
# "bchunk -w" in the same run, then prints the times: rip-disc to WAV and bchunk side by side, and
# what the CRCs add to the rip. rip-disc rips the whole disc in one run and
# computes every track's AccurateRip CRCs and CRC32; rip starts once a track and computes none, so
# a line of vantor-cd's start-up alone (every track ripped for 1 ms: loading the libraries, opening
# the disc and the output) shows how much of its time that is. The CRCs' own processor time, from
# accuraterip_crc_bench, gives a rip-disc's time without them, and what AccurateRip's CRCs and the
# log's CRC32 each add to it.
#
#   bench/rip_bench.sh [VANTOR_CD [MKDISC [ACCURATERIP_CRC_BENCH]]]
#   cmake --build --preset default --target rip_bench
#
# Defaults: the binaries of the default preset's build tree (RelWithDebInfo). A binary from a Debug
# build tree is refused. Needs about 2.5 GB in $TMPDIR.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
vantor_cd="${1:-$root/build/default/bin/vantor-cd}"
mkdisc="${2:-$root/build/default/bin/mkdisc}"
crc_bench="${3:-$root/build/default/bin/accuraterip_crc_bench}"
command -v bchunk >/dev/null || { echo "rip_bench: bchunk is missing (scripts/install-deps.sh)" >&2; exit 1; }

# The build type of the tree the binary was built in, or "unknown" outside a build tree.
build_type="unknown"
cache="$(dirname "$vantor_cd")/../CMakeCache.txt"
[[ -f $cache ]] && build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$cache")"
case "$build_type" in
    Debug | "")
        echo "rip_bench: $vantor_cd is from an unoptimised build (${build_type:-no build type});" \
             "time the default preset's build (cmake --preset default)" >&2
        exit 1 ;;
esac

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
# The image is on disk before any timing starts, so that no tool shares its time with the image's
# writeback.
sync "$bin" "$cue"

now() { date +%s.%N; }
# Sets cpu_seconds to the user and system seconds of every finished child of this shell so far
# (run in this shell, not in a subshell: a subshell starts from zero). On a shared machine the wall
# time also holds the time others ran; the processor time does not.
read_children_cpu() {
    times >"$work/times"
    cpu_seconds="$(awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, part, /[ms]/); total += part[1] * 60 + part[2] }
                                 printf "%.3f", total }' "$work/times")"
}
report() { # name "seconds cpu-seconds"
    read -r elapsed cpu <<<"$2"
    awk -v name="$1" -v elapsed="$elapsed" -v cpu="$cpu" -v audio="$audio_seconds" 'BEGIN {
        printf "%-34s %7.2f s  %7.1fx real time  %6.1f MB/s  %6.2f s processor\n", name, elapsed,
               audio / elapsed, audio * 176400 / elapsed / 1e6, cpu }'
}

# Every run writes into the same empty directory of the same file system, removed afterwards.
rip_tracks() { # extension [rip option...]
    for ((track = 1; track <= tracks; track++)); do
        "$vantor_cd" rip "cdda://$cue#track$track.cda" -o "$(printf "%s/out/track%02d.%s" "$work" "$track" "$1")" \
            "${@:2}" >/dev/null
    done
}
rip_disc() { "$vantor_cd" rip-disc "$cue" -o "$work/out" --force --format "$1" >/dev/null; }
convert_with_bchunk() { bchunk -w "$bin" "$cue" "$work/out/track" >/dev/null; }
# Each run reads the image from the page cache: it is read once right before the run starts (a
# machine may page out what has lain unused for a while).
time_into() { # variable command...: sets the variable to the command's seconds and processor seconds
    mkdir "$work/out"
    cat "$bin" >/dev/null
    local start end cpu_start cpu_seconds
    read_children_cpu
    cpu_start="$cpu_seconds"
    start="$(now)"
    "${@:2}"
    end="$(now)"
    read_children_cpu
    rm -rf "$work/out"
    printf -v "$1" '%s' "$(awk -v start="$start" -v end="$end" -v cpu_start="$cpu_start" -v cpu_end="$cpu_seconds" \
        'BEGIN { printf "%.3f %.3f", end - start, cpu_end - cpu_start }')"
}

echo "image: $tracks tracks, $((tracks * track_sectors)) sectors, $((audio_seconds / 60)):$(printf %02d $((audio_seconds % 60))) of audio, $(stat -c %s "$bin") bytes; vantor-cd: $build_type build"

# The two sides of the comparison alternate, three rounds each, so that both meet the same load; the
# fastest round of each stands for it.
rounds=3
faster() { # "seconds cpu" "seconds cpu": the pair with fewer seconds
    awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); print (y[1] < x[1] ? b : a) }'
}
disc_wav="" bchunk="" disc_flac=""
for ((round = 1; round <= rounds; round++)); do
    time_into wav_round rip_disc wav
    time_into bchunk_round convert_with_bchunk
    time_into flac_round rip_disc flac
    disc_wav="$(faster "${disc_wav:-$wav_round}" "$wav_round")"
    bchunk="$(faster "${bchunk:-$bchunk_round}" "$bchunk_round")"
    disc_flac="$(faster "${disc_flac:-$flac_round}" "$flac_round")"
done
time_into wav rip_tracks wav
time_into flac rip_tracks flac
time_into startup rip_tracks wav --to 0.001
crc_figures="$("$crc_bench")"
crc_line() { awk -v name="$1" 'substr($0, 1, length(name) + 1) == name " " { print $(NF - 5) }' <<<"$crc_figures"; }
crc_seconds="$(crc_line "AccurateRip CRCs and CRC32")"
accuraterip_seconds="$(crc_line "AccurateRip CRCs alone")"
crc32_seconds="$(crc_line "CRC32 alone")"

report "vantor-cd rip-disc (WAV)" "$disc_wav"
report "bchunk -w" "$bchunk"
awk -v wav="$disc_wav" -v bchunk="$bchunk" -v rounds="$rounds" 'BEGIN { split(wav, w, " "); split(bchunk, b, " ");
    printf "%-34s %7.2f x the time of bchunk -w, %.2f x its processor time (best of %d rounds each)\n",
           "rip-disc (WAV) against bchunk -w", w[1] / b[1], w[2] / b[2], rounds }'
report "rip-disc (WAV) less the CRCs" "$(awk -v wav="$disc_wav" -v crc="$crc_seconds" \
    'BEGIN { split(wav, w, " "); printf "%.3f %.3f", w[1] - crc, w[2] - crc }')"
# Each share is of the rip's time without any CRC.
share() { # name seconds
    awk -v name="$1" -v seconds="$2" -v crc="$crc_seconds" -v wav="$disc_wav" 'BEGIN { split(wav, w, " ");
        printf "%-34s %7.3f s processor add %4.1f%% to the time of rip-disc (WAV), %4.1f%% to its processor time\n",
               name, seconds, seconds / (w[1] - crc) * 100, seconds / (w[2] - crc) * 100 }'
}
share "AccurateRip CRCs (v1, v2, 450)" "$accuraterip_seconds"
share "CRC32 of the log" "$crc32_seconds"
share "AccurateRip CRCs and CRC32" "$crc_seconds"
report "vantor-cd rip-disc (FLAC)" "$disc_flac"
# FLAC's encoder runs on the rip's one thread: its pace on one core is the audio's length over the
# rip's processor time.
awk -v flac="$disc_flac" -v audio="$audio_seconds" -v rounds="$rounds" 'BEGIN { split(flac, f, " ");
    printf "%-34s %7.1fx real time a core (best of %d rounds)\n", "rip-disc (FLAC) on one core", audio / f[2], rounds }'
report "vantor-cd rip a track a run (WAV)" "$wav"
report "vantor-cd rip a track a run (FLAC)" "$flac"
read -r startup_seconds startup_cpu <<<"$startup"
awk -v elapsed="$startup_seconds" -v cpu="$startup_cpu" -v runs="$tracks" 'BEGIN {
    printf "%-34s %7.2f s  %5.0f ms a run %24s %6.2f s processor\n", "vantor-cd start-up alone", elapsed,
           elapsed / runs * 1000, "", cpu }'
report "vantor-cd rip (WAV) less start-up" "$(awk -v wav="$wav" -v startup="$startup" \
    'BEGIN { split(wav, w, " "); split(startup, s, " "); printf "%.3f %.3f", w[1] - s[1], w[2] - s[2] }')"
