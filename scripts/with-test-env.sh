#!/usr/bin/env bash
# Runs one command inside the test environment (Xvfb, PulseAudio null sink),
# for example: scripts/with-test-env.sh ctest --test-dir build/dev -R Media
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/test-env.sh"
"$@"
