#!/usr/bin/env bash
# The Debian package as scripts/package builds it from the build folder:
# lintian finds no error (scripts/package fails otherwise), the control data
# names the dependencies and triggers, and the package holds exactly the
# files `cmake --install` puts under /usr.
#   PackageTest.sh SOURCE BUILD WORK
set -euo pipefail
source_dir="$1"
build="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! deb="$(SEALBOOK_BUILD_DIR="$build" "$source_dir/scripts/package" --no-build --output "$work/deb" \
            2>"$work/lintian.txt" | tail -n 1)"; then
  cat "$work/lintian.txt" >&2
  fail "scripts/package failed (a lintian error or a CPack failure, above)"
  exit 1
fi
echo "package: $deb"
echo "lintian said:"
sed 's/^/  /' "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian reported errors"; fi

# Dependencies: from dpkg-shlibdeps (Qt, the C and C++ libraries, Hunspell)
# and the ones no library leads to.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for dependency in hunspell-en-us breeze-icon-theme qt6-qpa-plugins libqt6widgets6 libhunspell libc6 libstdc++6; do
  case ", $depends" in
    *", $dependency"*) ;;
    *) fail "Depends lacks $dependency" ;;
  esac
done

# Triggers that refresh the MIME, desktop and icon caches.
triggers="$(dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./triggers)"
for folder in /usr/share/mime/packages /usr/share/applications /usr/share/icons/hicolor; do
  grep -qx "activate-noawait $folder" <<<"$triggers" || fail "no trigger for $folder"
done

# The package's files are the installation's under /usr, one for one.
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/root" && find . -type f -o -type l | sed 's|^\./|/|' | sort) >"$work/installed.txt"
dpkg-deb --fsys-tarfile "$deb" | tar -tvf - | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort \
  >"$work/packaged.txt"
if ! diff -u "$work/installed.txt" "$work/packaged.txt"; then
  fail "the package's files differ from the installation's (- installed, + packaged)"
fi
if [ ! -s "$work/packaged.txt" ]; then fail "the package holds no files"; fi
echo "$(wc -l <"$work/packaged.txt") files, the same as the installation's"

exit $((failures > 0))
