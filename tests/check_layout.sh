#!/usr/bin/env bash
# Fails when a folder below the application shell includes a header from app/:
# the seams every subsystem shares live in core/.
cd "$(dirname "$0")/.."
found=$(grep -rn '#include "app/' core data transfer serial corrections export cli sim fuzz bench)
if [ -n "$found" ]; then
  echo "$found"
  exit 1
fi
