#!/usr/bin/env bash
# Times reading a phone book and a message list, in real time, against halvex-phonesim on a
# pseudo-terminal: halvex-cli with the timed exchange and with --fast, and gammu, at 9600 baud
# and at 115200 baud with 30 ms of phone latency. Prints the median of each and its ratio to
# the time the bytes need on the line (10 bits a byte at the line's speed).
#
#   bench/link-timing.sh            (make bench-link)
#   RUNS=5 TIMED_RUNS=1 BUILD=build bench/link-timing.sh
set -euo pipefail

BUILD=${BUILD:-build}
RUNS=${RUNS:-3}              # fast mode and gammu
TIMED_RUNS=${TIMED_RUNS:-1}  # the timed exchange takes minutes a run
SIM=$BUILD/phonesim/halvex-phonesim
PDUS=$BUILD/phonesim/halvex-phonesim-pdus
CLI=$BUILD/app/cli/halvex-cli
for program in "$SIM" "$PDUS" "$CLI"; do
    [ -x "$program" ] || { echo "link-timing: $program is not built (make build)" >&2; exit 1; }
done
have_gammu=0
command -v gammu >/dev/null && have_gammu=1

work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A phone with 250 phone book entries ("full") and one with 30 received messages in its memory.
{
    echo '{"sms": {"storages": [{"name": "SM", "capacity": 20, "messages": []},'
    echo '  {"name": "ME", "capacity": 150, "messages": ['
    for i in $(seq 1 30); do
        sep=,; [ "$i" = 30 ] && sep=
        printf '    {"index": %d, "status": 1, "pdu": "", "deliver": {"from": "+4477009%05d",' "$i" "$i"
        printf ' "time": "2024-03-%02d 10:%02d:00+00:00", "text": "Message %d of the benchmark: where are we meeting for lunch tomorrow?"}}%s\n' \
            $(( (i % 28) + 1 )) "$i" "$i" "$sep"
    done
    echo '  ]}]}}'
} > "$work/inbox30.json"
"$PDUS" "$work/inbox30.json" >/dev/null

# Starts the simulated phone; sets $port (e.g. pts/3).
start_sim() {  # profile baud latency
    "$SIM" --profile "$1" --baud "$2" --latency "$3" --stats > "$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 1 100); do
        grep -q '^port: ' "$work/sim.out" 2>/dev/null && break
        sleep 0.05
    done
    port=$(sed -n 's|^port: /dev/||p' "$work/sim.out")
    [ -n "$port" ] || { echo "link-timing: the simulated phone did not start" >&2; exit 1; }
}

# Stops it; sets $bytes to the bytes that crossed the line both ways.
stop_sim() {
    kill -INT "$sim_pid"
    wait "$sim_pid" || true
    sim_pid=
    bytes=$(sed -n 's/^bytes: \([0-9]*\) to the program, \([0-9]*\) from it$/\1 \2/p' "$work/sim.out" |
        awk '{ print $1 + $2 }')
}

# One run: prints "seconds bytes".
run_once() {  # profile baud latency client args...
    local profile=$1 baud=$2 latency=$3 client=$4
    shift 4
    start_sim "$profile" "$baud" "$latency"
    local start end
    start=$(date +%s.%N)
    case $client in
        halvex)
            HALVEX_REGISTRY="$work/registry.reg" "$CLI" --port "$port" "$@" >/dev/null 2>"$work/client.err" || {
                echo "link-timing: halvex-cli $* failed:" >&2; cat "$work/client.err" >&2; }
            ;;
        gammu)
            printf '[gammu]\ndevice = /dev/%s\nconnection = at\n' "$port" > "$work/gammurc"
            HOME=$work LC_ALL=C.UTF-8 gammu -c "$work/gammurc" "$@" >/dev/null 2>"$work/client.err" || {
                echo "link-timing: gammu $* failed:" >&2; cat "$work/client.err" >&2; }
            ;;
    esac
    end=$(date +%s.%N)
    stop_sim
    echo "$(awk -v a="$end" -v b="$start" 'BEGIN { print a - b }') $bytes"
}

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Prints one row of the table.
measure() {  # label runs profile baud latency client args...
    local label=$1 runs=$2 profile=$3 baud=$4 latency=$5
    shift 5
    local times=() bytes_seen=0
    for _ in $(seq 1 "$runs"); do
        read -r seconds bytes_seen < <(run_once "$profile" "$baud" "$latency" "$@")
        times+=("$seconds")
    done
    local med line
    med=$(printf '%s\n' "${times[@]}" | median)
    line=$(awk -v b="$bytes_seen" -v baud="$baud" 'BEGIN { print b * 10 / baud }')
    printf '| %-28s | %6d | %8.1f | %6.1f | %5.2f |\n' "$label" "$baud" "$med" "$line" \
        "$(awk -v m="$med" -v l="$line" 'BEGIN { print m / l }')"
}

echo "| command                      |   baud | median s | line s | ratio |"
echo "|------------------------------|--------|----------|--------|-------|"
for setting in "9600 0" "115200 30"; do
    read -r baud latency <<<"$setting"
    measure "phonebook list ME, timed" "$TIMED_RUNS" full "$baud" "$latency" halvex phonebook list ME
    measure "phonebook list ME, --fast" "$RUNS" full "$baud" "$latency" halvex --fast phonebook list ME
    [ "$have_gammu" = 1 ] && measure "gammu getallmemory ME" "$RUNS" full "$baud" "$latency" gammu getallmemory ME
    measure "sms list inbox, timed" "$TIMED_RUNS" "$work/inbox30.json" "$baud" "$latency" halvex sms list inbox
    measure "sms list inbox, --fast" "$RUNS" "$work/inbox30.json" "$baud" "$latency" halvex --fast sms list inbox
    [ "$have_gammu" = 1 ] && measure "gammu getallsms" "$RUNS" "$work/inbox30.json" "$baud" "$latency" gammu getallsms
done
