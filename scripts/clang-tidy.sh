#!/usr/bin/env bash
# Checks sources with clang-tidy: the naming rules of CONTRIBUTING.md and a
# few bug-prone checks (.clang-tidy, per folder). Headers are checked
# through the sources that include them.
#   scripts/clang-tidy.sh BUILD-DIR            every source the build compiles
#   scripts/clang-tidy.sh BUILD-DIR FILE...    those files
#   scripts/clang-tidy.sh BUILD-DIR --changed  the sources changed against
#       main (on main: by the last commit), a header by its own source
# Fails when anything is found.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd); shift
files=("$@")
if [[ "${1:-}" == "--changed" ]]; then
  base=$(git -C "$top" merge-base HEAD main 2>/dev/null || true)
  [[ -z "$base" || "$base" == "$(git -C "$top" rev-parse HEAD)" ]] && base=HEAD~1
  files=()
  while read -r changed; do
    [[ -f "$top/$changed" ]] && files+=("$top/$changed")
  done < <(git -C "$top" diff --name-only "$base" -- '*.cpp' '*.h' | sed 's/\.h$/.cpp/' | sort -u)
  if [[ ${#files[@]} -eq 0 ]]; then
    echo "clang-tidy: no source changed"
    exit 0
  fi
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The build's compile commands, the tests' precompiled header (made by gcc,
# which clang cannot read) included as plain text instead; and the list of
# the tree's own sources (not what the build generates), each once.
mapfile -t sources < <(python3 - "$top" "$build" "$work" <<'PYTHON'
import json, re, shutil, sys
top, build, work = sys.argv[1:]
entries = json.load(open(build + "/compile_commands.json"))
copies = {}
def plain(match):
    header = match.group(1)
    if header not in copies:
        copies[header] = "%s/pch%d.hxx" % (work, len(copies))
        shutil.copy(header, copies[header])
    return "-include " + copies[header]
for entry in entries:
    entry["command"] = re.sub(r"-include (\S+/cmake_pch\.hxx)", plain, entry["command"].replace("-Winvalid-pch", ""))
json.dump(entries, open(work + "/compile_commands.json", "w"))
print("\n".join(sorted({e["file"] for e in entries
                        if e["file"].startswith(top + "/") and not e["file"].startswith(build + "/")})))
PYTHON
)
if [[ ${#files[@]} -eq 0 ]]; then
  files=("${sources[@]}")
else
  # Only what this build compiles (the benchmarks and fuzz targets are
  # optional); a file named relative to here is taken as such.
  declare -A compiled
  for source in "${sources[@]}"; do compiled[$source]=1; done
  given=("${files[@]}")
  files=()
  for file in "${given[@]}"; do
    file=$(realpath "$file")
    [[ -n "${compiled[$file]:-}" ]] && files+=("$file")
  done
  if [[ ${#files[@]} -eq 0 ]]; then
    echo "clang-tidy: none of the files is compiled by $build"
    exit 0
  fi
fi
report="$work/report"
printf '%s\0' "${files[@]}" |
  xargs -0 -n 4 -P "$(nproc)" clang-tidy-14 --quiet -p "$work" >"$report" 2>/dev/null || true
# A header included by several sources is reported once.
findings=$(grep -E '^/.*: (warning|error): ' "$report" | sort -u || true)
if [[ -n "$findings" ]]; then
  echo "$findings"
  echo "clang-tidy: $(echo "$findings" | wc -l) findings"
  exit 1
fi
echo "clang-tidy: ${#files[@]} sources, no findings"
