#!/usr/bin/env bash
# Starts CUPS with a PDF printer named "PDF" (cups-pdf) if it is not already there.
set -euo pipefail
if ! lpstat -r >/dev/null 2>&1; then
  mkdir -p /run/cups
  setsid /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 50); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.2
  done
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
fi
cupsenable PDF >/dev/null 2>&1 || true
cupsaccept PDF >/dev/null 2>&1 || true
lpstat -p PDF
