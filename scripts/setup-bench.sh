#!/usr/bin/env bash
# The programs the benchmarks compare against (nginx, aria2c, bsdtar, curl).
# Kept out of setup.sh: nginx's package would start a system web server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
missing=()
for p in nginx-light aria2; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup-bench: installing ${missing[*]}"
  # Keep the package from starting its service; the benchmark runs its own.
  printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d
  chmod +x /usr/sbin/policy-rc.d
  trap 'rm -f /usr/sbin/policy-rc.d' EXIT
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
