#!/usr/bin/env bash
# Starts CUPS with two cups-pdf queues: "PDF", which prints on the whole sheet, and
# "PDF-Margins", whose PPD declares 0.5 inch hardware margins on every side (as most real
# printers have). Exits non-zero when CUPS or a queue cannot be made.
set -euo pipefail

# "lpstat -r" exits 0 whether or not the scheduler runs; only its words tell.
scheduler_running() {
  lpstat -r 2>/dev/null | grep -q "scheduler is running"
}

if ! scheduler_running; then
  mkdir -p /run/cups
  setsid /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    scheduler_running && break
    sleep 0.2
  done
fi
scheduler_running || { echo "CUPS did not start" >&2; exit 1; }

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
margins_ppd=/etc/cups/orvelin-margins.ppd
# Every imageable area shrunk by 36 points (0.5 inch) on each side.
awk '
  /^\*HWMargins:/ { print "*HWMargins: 36 36 36 36"; next }
  /^\*ImageableArea / {
    match($0, /"[^"]*"/)
    split(substr($0, RSTART + 1, RLENGTH - 2), v, " ")
    printf "%s\"36 36 %d %d\"\n", substr($0, 1, RSTART - 1), v[3] - 36, v[4] - 36
    next
  }
  { print }
' "$ppd" >"$margins_ppd"

add_queue() {
  local name=$1 file=$2
  lpstat -p "$name" >/dev/null 2>&1 || lpadmin -p "$name" -E -v cups-pdf:/ -P "$file"
  cupsenable "$name"
  cupsaccept "$name"
}
add_queue PDF "$ppd"
add_queue PDF-Margins "$margins_ppd"
lpstat -p PDF -p PDF-Margins
