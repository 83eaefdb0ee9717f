#!/usr/bin/env bash
# The Debian package holds every file of the installation, declares the
# packages of the libraries its programs link, and its solver, unpacked into a
# temporary root, solves an installed example.
# Usage: debian_package.sh PACKAGE_DIR VERSION
set -uo pipefail
package_dir=$1 version=$2
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

deb="$package_dir/kolt_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "FAIL: no package $deb" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for file in /usr/bin/kolt-32 /usr/bin/WinKolt \
            /usr/share/applications/winkolt.desktop /usr/share/mime/packages/winkolt.xml \
            /usr/share/icons/hicolor/scalable/apps/winkolt.svg /usr/share/winkolt/winkolt-help.html \
            /usr/share/man/man1/kolt-32.1.gz /usr/share/man/man1/WinKolt.1.gz /usr/share/man/man5/kolt.5.gz \
            /usr/share/bash-completion/completions/kolt-32 /usr/share/bash-completion/completions/WinKolt \
            /usr/share/doc/kolt/copyright /usr/share/doc/kolt/examples/terminale.klt \
            /usr/share/doc/kolt/examples/otwarta.klt; do
    grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done

root=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$root" "$work"' EXIT
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x" >&2; exit 1; }

# Every library a program names (directly, as dpkg-shlibdeps sees it) comes
# from a package that Depends lists.
depends=$(dpkg-deb -f "$deb" Depends)
depended_packages=$(sed -e 's/ ([^)]*)//g' -e 's/ *[,|] */\n/g' <<< "$depends")
for program in kolt-32 WinKolt; do
    binary="$root/usr/bin/$program"
    ldd "$binary" | grep -q 'not found' && fail "$program: $(ldd "$binary" | grep 'not found')"
    for library in $(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }'); do
        path=$(ldd "$binary" | awk -v lib="$library" '$1 == lib { print $3 }')
        owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "${path#/usr}" 2>/dev/null)
        owner=${owner%%:*}
        [[ -n $owner ]] || { fail "$program: no package owns $library ($path)"; continue; }
        grep -qxF "$owner" <<< "$depended_packages" || fail "$program links $library of $owner, which Depends lacks: $depends"
    done
done

# The program and the package report one version.
first_line=$("$root/usr/bin/kolt-32" --version | head -n 1)
package_version=$(dpkg-deb -f "$deb" Version)
[[ $first_line == "KOLT-32 wersja $package_version "* ]] || fail "kolt-32 --version says '$first_line', the package $package_version"

status=0
(cd "$work" && LANG=C "$root/usr/bin/kolt-32" "$root/usr/share/doc/kolt/examples/otwarta.klt" JACKSON \
    < /dev/null > console 2>&1) || status=$?
[[ $status == 0 ]] || fail "the installed solver fails on the installed example: $(cat "$work/console")"
grep -q 'Procesor' "$work/wyniki.txt" 2>/dev/null || fail "no results in wyniki.txt"
exit $failed
