#!/bin/bash
# Reliability run of the resumable downloader: a 512 MiB download from the
# local maker server is killed (SIGKILL) at a random moment ten times in a row
# and started again each time; after the last start it runs to the end and the
# file's MD5 must equal the served file's. Run by hand (about a minute).
# Usage: scripts/download_reliability.sh [BUILD_DIR] [SIZE_MIB] [KILLS]
set -euo pipefail

build=${1:-build}
size_mib=${2:-512}
kills=${3:-10}
server=$build/tools/server/solvanta-server
child=$build/tests/unit/download/solvanta_download_child
for program in "$server" "$child"; do
  [[ -x $program ]] || { echo "não encontrado: $program (compile antes)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/solvanta-reliability.XXXXXX)
server_pid=
cleanup() {
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/state"
head -c $((size_mib << 20)) /dev/urandom >"$work/www/firmware.bin"
expected=$(md5sum "$work/www/firmware.bin" | cut -d' ' -f1)
# 48 MiB/s per connection: a whole run takes about ten seconds.
echo '{"faults": {"/firmware.bin": {"bytesPerSecond": 50331648}}}' >"$work/answers.json"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$server" --port "$port" --root "$work/www" --answers "$work/answers.json" >/dev/null 2>&1 &
server_pid=$!
sleep 1

url=http://127.0.0.1:$port/firmware.bin
local_file=$work/firmware.bin
for ((i = 1; i <= kills; i++)); do
  "$child" "$url" "$local_file" "$work/state" &
  pid=$!
  moment=$(python3 -c 'import random; print(round(random.uniform(0.3, 3.0), 2))')
  sleep "$moment"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  have=$(stat -c %s "$local_file" 2>/dev/null || echo 0)
  saved=$(grep -m1 '^BytesProceed=' "$work/state/DS.ini" 2>/dev/null | cut -d= -f2 || true)
  echo "morte $i após ${moment}s: arquivo ${have} bytes, DS.ini BytesProceed=${saved:-nenhum}"
done
start=$(date +%s)
"$child" "$url" "$local_file" "$work/state"
echo "última execução até o fim: $(($(date +%s) - start))s"
actual=$(md5sum "$local_file" | cut -d' ' -f1)
echo "MD5 servido  $expected"
echo "MD5 baixado  $actual"
if [[ $actual == "$expected" ]]; then echo "RESULTADO: igual"; else echo "RESULTADO: DIFERENTE"; exit 1; fi
