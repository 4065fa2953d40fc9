#!/bin/bash
# Proves that a release can be rebuilt bit for bit: makes the release of the last
# commit twice, from two fresh clones at different paths, the second with its clock
# an hour ahead (faketime) and another time zone and locale in its environment, and
# compares the two dist/SHA256SUMS. Where they differ it names the files, and
# diffoscope says where in them.
#
# Each release takes 4 to 5½ minutes on two cores once the Qt builds are cached.
# Inside the Debian 13 system that builds the page, the clock is the real one.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=qt-source.sh
source "$here/tools/qt-source.sh"
install_packages faketime

work=$(mktemp -d "${TMPDIR:-/var/tmp}/quorvel-release-check.XXXXXX")
first=$work/first/quorvel
second=$work/second/a/longer/path/quorvel-again
git clone -q --no-local "$here" "$first"
git clone -q --no-local "$here" "$second"

(cd "$first" && bash tools/release.sh)
(cd "$second" && TZ=Pacific/Kiritimati LC_ALL=C LANG=de_DE.UTF-8 \
    faketime -f +1h bash tools/release.sh)

if cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    echo "release-check: the two releases are the same, byte for byte:"
    cat "$first/dist/SHA256SUMS"
    rm -rf "$work"
    exit 0
fi

echo "release-check: the two releases differ:" >&2
diff "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS" >&2 || true
install_packages diffoscope-minimal
while read -r _ name; do
    if ! cmp -s "$first/dist/$name" "$second/dist/$name"; then
        echo "release-check: $name differs; diffoscope:" >&2
        diffoscope --text - "$first/dist/$name" "$second/dist/$name" | head -n 200 >&2 || true
    fi
done <"$first/dist/SHA256SUMS"
echo "release-check: both releases kept in $work" >&2
exit 1
