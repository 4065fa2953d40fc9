# shellcheck shell=bash
# Sourced by the package checks: every check prints "ok" or "FAIL" and is counted, so
# that a script names all that is wrong before it fails.

# Sets work to a fresh scratch folder named after $1, removed when the script ends.
scratch() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-$1.XXXXXX")
    trap 'rm -rf "$work"' EXIT
}

failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

# check WHAT COMMAND...: WHAT is ok when COMMAND succeeds.
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
    else
        fail "$what"
    fi
}

# Ends the script: status 1 after any failure, else "all $1 checks passed".
passed() {
    [ "$failures" -eq 0 ] || exit 1
    echo "all $1 checks passed"
}
