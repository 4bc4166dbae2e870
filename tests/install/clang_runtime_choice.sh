#!/usr/bin/env bash
# scripts/install-deps takes clang's runtime from what a release's package lists offer. Each case:
# the version of clang that `clang` depends on there ('-': the lists know no clang), the choice
# ('-': none), and the names the lists know.
set -uo pipefail
source "$(dirname "$0")/../../scripts/install-deps"
apt-cache() {
    case $1 in
        show) [[ " $known " == *" $2 "* ]] ;;
        depends) [[ $clang == - ]] || printf 'clang\n  Depends: clang-%s\n  Breaks: <clang-3.5>\n' "$clang" ;;
    esac
}
failed=0
while read -r clang wanted known; do
    chosen=$(clang_runtime)
    [[ ${chosen:--} == "$wanted" ]] || { echo "clang $clang, lists $known: chose '$chosen', wanted $wanted"; failed=1; }
done <<'CASES'
14 libclang-rt-dev        libclang-rt-dev libclang-rt-14-dev libclang-rt-16-dev libclang-rt-19-dev
19 libclang-rt-19-dev     libclang-rt-18-dev libclang-rt-19-dev libclang-rt-19-dev-wasm32
14 libclang-common-14-dev libclang-common-14-dev libclang-common-15-dev
18 -                      libclang-rt-19-dev
-  -                      libclang-rt-19-dev
CASES
exit $failed
