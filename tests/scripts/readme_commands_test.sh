#!/usr/bin/env bash
# Every script the README tells a reader to run must exist and be executable as git stores it: a
# fresh clone takes its modes from git, not from the working tree it was made from.
set -uo pipefail
root="${1:?usage: readme_commands_test.sh REPOSITORY}"
cd "$root" || exit 1
if ! git rev-parse --git-dir >/dev/null 2>&1; then
    echo "readme commands: $root is not a git checkout" >&2
    exit 1
fi
commands="$(grep -o -E 'tools/[A-Za-z0-9_.-]+\.sh' README.md | sort -u)"
if [ -z "$commands" ]; then
    echo "readme commands: the README names no tools/*.sh command" >&2
    exit 1
fi
failed=0
for c in $commands; do
    mode="$(git ls-files -s -- "$c" | cut -d' ' -f1)"
    if [ "$mode" != 100755 ]; then
        echo "FAILED  $c: mode ${mode:-missing from git} (git update-index --chmod=+x $c)"
        failed=$((failed + 1))
    else
        echo "ok      $c"
    fi
done
[ "$failed" -eq 0 ]
