#!/usr/bin/env bash
# Installs the Debian packages of deps.txt that are not installed yet.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < deps.txt
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  # The lobby's servers (prosody, coturn) are packages with system services;
  # the game's tests start their own copies, so the system's must not start.
  # Where nothing forbids it yet, a policy forbids it for this install.
  policy=/usr/sbin/policy-rc.d
  if [[ ! -e $policy ]]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
    $sudo chmod 755 "$policy"
    trap '$sudo rm -f "$policy"' EXIT
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  # Left disabled, and stopped had they started all the same.
  for service in prosody coturn; do
    [[ -e /etc/init.d/$service ]] || continue
    if command -v systemctl >/dev/null && [[ -d /run/systemd/system ]]; then
      $sudo systemctl disable --now "$service" >/dev/null 2>&1 || true
    else
      $sudo /etc/init.d/"$service" stop >/dev/null 2>&1 || true
      $sudo update-rc.d "$service" disable >/dev/null 2>&1 || true
    fi
  done
fi
